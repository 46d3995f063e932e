#pragma once
// Small pictures and their ASCII art for the rasterizer tests.

#include "support/picture_diff.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <ostream>

// Readable strings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << "\n" << text.toStdString(); }

namespace rastertest {

constexpr QRgb kWhite = 0xFFFFFFFF, kBlack = 0xFF000000, kRed = 0xFFFF0000, kYellow = 0xFFFFFF00,
               kBlue = 0xFF0000FF;

inline QImage blank(int width, int height, QRgb colour = kWhite) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// '.' white, '#' black, 'r' red, 'y' yellow, 'b' blue.
inline QString art(const QImage& picture) {
    return testsupport::asciiArt(
        picture, {{'.', kWhite}, {'#', kBlack}, {'r', kRed}, {'y', kYellow}, {'b', kBlue}});
}

// Rows of ASCII art, one string a row, as the expectation of a test.
inline QString rows(std::initializer_list<const char*> lines) {
    QString joined;
    for (const char* line : lines)
        joined += QString::fromLatin1(line) + '\n';
    return joined;
}

} // namespace rastertest
