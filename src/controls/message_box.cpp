#include "controls/message_box.h"

#include "controls/modal_placement.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace {
// Message boxes stand in the middle of the screen, not over the window that raised them.
class ScreenCentredBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event); // sizes the box to its text
        if (QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->geometry().center() - rect().center());
    }
};

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
    ScreenCentredBox box(kind == MessageKind::Information ? QMessageBox::Information
                                                          : QMessageBox::Critical,
                         messageCaption(kind), text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText("OK");
    ModalPlacement placement(box);
    box.exec();
}

void setMessageHandler(MessageHandler handler) {
    installedHandler() = std::move(handler);
}
