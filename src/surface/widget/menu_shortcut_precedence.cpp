#include "surface/widget/menu_shortcut_precedence.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

namespace {
// The sequences a key event may be written as: with its modifiers, and for a shifted key
// also without Shift (Shift+1 arrives as "!" on many layouts, with Shift still set).
QList<QKeySequence> candidatesOf(const QKeyEvent& event) {
    QList<QKeySequence> out;
    Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    out << QKeySequence(QKeyCombination(mods, Qt::Key(event.key())));
    if (mods & Qt::ShiftModifier)
        out << QKeySequence(QKeyCombination(mods & ~Qt::ShiftModifier, Qt::Key(event.key())));
    return out;
}

bool matchesAny(const QList<QAction*>& actions, const QList<QKeySequence>& candidates, int depth) {
    for (QAction* action : actions) {
        if (action->menu() && depth < 8 &&
            matchesAny(action->menu()->actions(), candidates, depth + 1))
            return true;
        for (const QKeySequence& shortcut : action->shortcuts())
            for (const QKeySequence& candidate : candidates)
                if (!shortcut.isEmpty() && shortcut.matches(candidate) == QKeySequence::ExactMatch)
                    return true;
    }
    return false;
}
} // namespace

void MenuShortcutPrecedence::setMenu(QMenu* menu) {
    menu_ = menu;
}
void MenuShortcutPrecedence::setActionOwner(QWidget* owner) {
    owner_ = owner;
}

bool MenuShortcutPrecedence::isMenuShortcut(const QKeyEvent& event) const {
    switch (event.key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_unknown:
        return false;
    default:
        break;
    }
    QList<QKeySequence> candidates = candidatesOf(event);
    return (menu_ && matchesAny(menu_->actions(), candidates, 0)) ||
           (owner_ && matchesAny(owner_->actions(), candidates, 0));
}

bool MenuShortcutPrecedence::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        isMenuShortcut(*static_cast<QKeyEvent*>(event))) {
        // Not accepted: the shortcut map goes on and triggers the action.
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
