#include "controls/modal_placement.h"

#include "platform/window_manager_hints.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace {

// A shown window of ours that a dialog could belong to; the dialog's own windows (its popups,
// a box it opened) never count.
bool isCandidate(const QWidget* window, const QWidget* dialog) {
    if (!window || window == dialog || !window->isWindow() || !window->isVisible())
        return false;
    switch (window->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::SplashScreen:
    case Qt::Desktop:
        return false;
    default:
        return !(dialog && dialog->isAncestorOf(window));
    }
}

bool staysOnTop(const QWidget* window) {
    return window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

} // namespace

QWidget* DialogOwner(const QWidget* dialog) {
    if (QWidget* modal = QApplication::activeModalWidget(); isCandidate(modal, dialog))
        return modal;
    if (QWidget* active = QApplication::activeWindow(); isCandidate(active, dialog))
        return active;
    // Of several windows on top, the one made last was shown over the others.
    QWidget* onTop = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (isCandidate(window, dialog) && staysOnTop(window))
            onTop = window;
    return onTop;
}

bool OursStayOnTop(const QWidget* dialog) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (isCandidate(window, dialog) && staysOnTop(window))
            return true;
    return false;
}

ModalPlacement::ModalPlacement(QWidget& dialog)
    : dialog_(dialog), ownParent_(dialog.parentWidget()), ownFlags_(dialog.windowFlags()),
      focusWindow_(QApplication::activeWindow()) {
    QWidget* owner = DialogOwner(&dialog);
    if (!owner)
        return;
    // A window manager keeps a window above the one it belongs to, and gives that one the
    // focus back when it goes; staying on top as well keeps it above every window of ours
    // that stays on top.
    Qt::WindowFlags flags = ownFlags_;
    if (OursStayOnTop(&dialog))
        flags |= Qt::WindowStaysOnTopHint;
    if (owner != ownParent_ || flags != ownFlags_) {
        dialog.setParent(owner, flags);
        moved_ = true;
    }
}

ModalPlacement::~ModalPlacement() {
    if (moved_)
        dialog_.setParent(ownParent_, ownFlags_);
    if (!focusWindow_ || focusWindow_ == &dialog_)
        return;
    KeepFocusOn(*focusWindow_);
}

void KeepFocusOn(QWidget& window) {
    QPointer<QWidget> target = &window;
    auto giveFocus = [target] {
        const QWidget* modal = QApplication::activeModalWidget();
        if (target && target->isVisible() && !target->isActiveWindow() &&
            (!modal || modal == target) && !QApplication::activePopupWidget())
            ActivateWindow(*target->windowHandle());
    };
    giveFocus();
    for (int delayMs : {100, 300, 700})
        QTimer::singleShot(delayMs, target, giveFocus);
}
