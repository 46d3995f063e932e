#pragma once
// Pixel-exact comparison of pictures that says where they differ, not just that they do.

#include <QImage>
#include <QRect>
#include <QString>
#include <gtest/gtest.h>

namespace testsupport {

// Renders a picture as ASCII art: each pixel becomes the character its colour maps to in
// `legend` (pairs of character and 0xRRGGBB), or '?' for a colour not in the legend.
QString asciiArt(const QImage& picture, const std::vector<std::pair<char, QRgb>>& legend);

// Succeeds when both pictures have the same size and pixels; otherwise names the first
// differing pixels and the bounding box of all differences.
testing::AssertionResult samePixels(const QImage& expected, const QImage& actual);

// How many pixels of `area` (by default the whole picture) have exactly `colour`, alpha
// aside.
int countColour(const QImage& picture, QRgb colour, QRect area = {});

} // namespace testsupport
