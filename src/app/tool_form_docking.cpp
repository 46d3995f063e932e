// The palette on Wayland, where a client can neither place its windows nor keep one above
// another: during a drawing phase it becomes a child of the surface, in the surface's
// top-right corner, so it stays over the picture with the same buttons, menu and shortcuts;
// idle, it is an ordinary small window that the compositor places.
#include "app/tool_form.h"
#include "platform/wayland_client.h"
#include "surface/widget/screen_form.h"

#include <QShortcut>

bool TToolForm::DocksInSurface() {
    return RunsAsWaylandClient();
}

void TToolForm::DockIntoSurface() {
    if (isDocked())
        return;
    windowFlagsWhenIdle_ = windowFlags();
    setParent(screen_, Qt::Widget);
    move(screen_->width() - width(), 0);
    // Esc belongs to the surface while the palette is part of it (it ends the text box).
    for (QShortcut* shortcut : findChildren<QShortcut*>(QString(), Qt::FindDirectChildrenOnly))
        if (shortcut->key() == QKeySequence(Qt::Key_Escape))
            shortcut->setEnabled(false);
    show();
    raise();
}

void TToolForm::UndockFromSurface() {
    if (!isDocked())
        return;
    setParent(nullptr, windowFlagsWhenIdle_);
    for (QShortcut* shortcut : findChildren<QShortcut*>(QString(), Qt::FindDirectChildrenOnly))
        shortcut->setEnabled(true);
    show();
}

bool TToolForm::isDocked() const {
    return screen_ && parentWidget() == screen_;
}
