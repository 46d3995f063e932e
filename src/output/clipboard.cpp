#include "output/clipboard.h"

#include "controls/message_box.h"

#include <QClipboard>
#include <QGuiApplication>

bool CopyPictureToClipboard(const QImage& picture, QWidget* parent) {
    // Before the first Start there is no picture; emptying the clipboard for it would only
    // lose what the user had there.
    if (picture.isNull()) {
        showMessage(MessageKind::Information, kNothingToCopyMessage, parent);
        return false;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        showMessage(MessageKind::AppError, kNoClipboardMessage, parent);
        return false;
    }
    clipboard->setImage(picture);
    return true;
}
