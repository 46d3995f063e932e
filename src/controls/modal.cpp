#include "controls/modal.h"

#include "controls/modal_placement.h"
#include "platform/wayland_client.h"

#include <QDialog>
#include <QWindow>

namespace {

// A Wayland compositor gives the keyboard to a window that opens over a full-screen one
// (the surface) only if asked to, and the request counts once the window shows.
class ActivateOnceShown : public QObject {
public:
    explicit ActivateOnceShown(QWindow& window) : QObject(&window) {
        window.installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = static_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window->isExposed()) {
            window->removeEventFilter(this);
            window->requestActivate();
            deleteLater();
        }
        return false;
    }
};

ModalHandler& installedHandler() {
    static ModalHandler handler;
    return handler;
}
} // namespace

int execModal(QDialog& dialog) {
    if (installedHandler())
        return installedHandler()(dialog);
    ModalPlacement placement(dialog);
    if (RunsAsWaylandClient()) {
        dialog.winId();
        new ActivateOnceShown(*dialog.windowHandle());
    }
    return dialog.exec();
}

void setModalHandler(ModalHandler handler) {
    installedHandler() = std::move(handler);
}
