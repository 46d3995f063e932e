#pragma once
// Writing the surface picture to a file, the format chosen by the name's extension.

#include "platform/outcome.h"

#include <QImage>
#include <QString>

class QWidget;

// A picture of the screen at the depth the screen had when it was read: 16- and 15-bit
// screens hold 5-6-5 and 5-5-5 pixels, so the file keeps those; deeper screens, and the
// rare palette screens, keep the 32-bit picture.
QImage pictureAtScreenDepth(const QImage& picture, int screenDepth);

// Writes `picture` to `fileName`: ".jpg" as JPEG, ".png" as PNG, any other extension as a
// Windows bitmap. A failure leaves an existing file of that name as it was.
Outcome savePicture(const QImage& picture, const QString& fileName);

// savePicture with the busy pointer shown while writing; a failure is shown in the general
// error box once the pointer is back to normal. Returns whether the file was written.
bool SaveBitmapToFile(const QImage& picture, const QString& fileName, QWidget* parent = nullptr);
