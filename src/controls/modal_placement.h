#pragma once
// Where a dialog or message box of the program stands while it runs, and where the keyboard
// focus goes once it closes. A window of ours that stays on top (the palette, the info box)
// would otherwise cover a box opened from it, and some window managers leave the focus on no
// window at all when a dialog closes, so that no shortcut works until the user clicks.

#include <QPointer>
#include <Qt>

class QWidget;

// The window of ours a new dialog belongs to: the innermost modal window being shown, else the
// window with the focus, else a shown window that stays on top; nullptr when none of ours
// shows. `dialog` itself is never the answer.
QWidget* DialogOwner(const QWidget* dialog = nullptr);

// Whether a shown window of ours other than `dialog` stays on top of other windows.
bool OursStayOnTop(const QWidget* dialog = nullptr);

// For the time of one modal run: `dialog` is a window of its owner, staying on top when a
// window of ours does; afterwards it gets its own parent back, and the window that had the focus
// before gets it again.
class ModalPlacement {
public:
    explicit ModalPlacement(QWidget& dialog);
    ~ModalPlacement();
    ModalPlacement(const ModalPlacement&) = delete;
    ModalPlacement& operator=(const ModalPlacement&) = delete;

private:
    QWidget& dialog_;
    QPointer<QWidget> ownParent_;
    Qt::WindowFlags ownFlags_;
    QPointer<QWidget> focusWindow_;
    bool moved_ = false;
};

// Gives `window` the keyboard focus, and asks again a moment later while it has not got it and
// no other dialog or popup of ours is open: some window managers hand the focus on by
// themselves just after a window of ours goes or is raised, to another window or to none.
void KeepFocusOn(QWidget& window);
