#pragma once
// Writing the surface picture to a file, the format chosen by the name's extension.

#include "platform/outcome.h"

#include <QImage>
#include <QString>

class QWidget;

// Writes `picture` to `fileName`: ".jpg" as JPEG, ".png" as PNG, any other extension as a
// Windows bitmap. A failure leaves an existing file of that name as it was.
Outcome savePicture(const QImage& picture, const QString& fileName);

// savePicture with the busy pointer shown while writing; a failure is shown in the general
// error box once the pointer is back to normal. Returns whether the file was written.
bool SaveBitmapToFile(const QImage& picture, const QString& fileName, QWidget* parent = nullptr);
