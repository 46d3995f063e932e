#pragma once
// The README's pictures of the program, taken by the tests that bring it into each state.
// Each is written to the build's screenshots folder; with SKRIBANDO_UPDATE_SCREENSHOTS=1 it
// also replaces the README's copy in docs/screenshots (scripts/update-screenshots.sh).

#include <QImage>
#include <QRect>
#include <QString>

// Keeps `area` of `screenshot` as "<name>.png"; the area is clipped to the screenshot.
// Returns false, with a message on the test's output, when a file cannot be written.
bool keepReadmeScreenshot(const QString& name, const QImage& screenshot, QRect area);
inline bool keepReadmeScreenshot(const QString& name, const QImage& screenshot) {
    return keepReadmeScreenshot(name, screenshot, screenshot.rect());
}
