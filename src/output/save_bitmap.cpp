#include "output/save_bitmap.h"

#include "controls/message_box.h"
#include "output/bmp_writer.h"
#include "output/file_extension.h"
#include "output/file_writer.h"
#include "output/jpeg_writer.h"
#include "output/png_writer.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

// The busy pointer for the whole application, removed on every way out of the scope.
class BusyPointer {
public:
    BusyPointer() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyPointer() { QGuiApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace

QImage pictureAtScreenDepth(const QImage& picture, int screenDepth) {
    switch (screenDepth) {
    case 16:
        return picture.convertToFormat(QImage::Format_RGB16);
    case 15:
        return picture.convertToFormat(QImage::Format_RGB555);
    default:
        return picture;
    }
}

Outcome savePicture(const QImage& picture, const QString& fileName) {
    QString extension = lowerCaseExtension(fileName);
    return writeFileReplacing(fileName, [&](ByteSink& sink) {
        if (extension == ".jpg")
            return writeJpeg(picture, sink);
        if (extension == ".png")
            return writePng(picture, sink);
        return writeBmp(picture, sink);
    });
}

bool SaveBitmapToFile(const QImage& picture, const QString& fileName, QWidget* parent) {
    Outcome status = Outcome::ok();
    {
        BusyPointer busy;
        status = savePicture(picture, fileName);
    }
    if (!status)
        showMessage(MessageKind::AppError, status.message(), parent);
    return status.isOk();
}
