#include "controls/message_box.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace {
MessageHandler& installedHandler() {
    static MessageHandler handler;
    return handler;
}
} // namespace

QString messageCaption(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error:
        return "Fehler";
    case MessageKind::Information:
        return "Information";
    case MessageKind::AppError:
        return "Skribando";
    }
    return {};
}

void showMessage(MessageKind kind, const QString& text, QWidget* parent) {
    if (installedHandler()) {
        installedHandler()(kind, text);
        return;
    }
    QMessageBox box(kind == MessageKind::Information ? QMessageBox::Information
                                                     : QMessageBox::Critical,
                    messageCaption(kind), text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText("OK");
    box.exec();
}

void setMessageHandler(MessageHandler handler) { installedHandler() = std::move(handler); }
