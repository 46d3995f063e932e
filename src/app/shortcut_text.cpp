#include "app/shortcut_text.h"

QString ShortcutText(const QKeySequence& shortcut) {
    if (shortcut.isEmpty())
        return {};
    const QKeyCombination combination = shortcut[0];
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    QString text;
    if (modifiers & Qt::ShiftModifier)
        text += "Umsch+";
    if (modifiers & Qt::ControlModifier)
        text += "Strg+";
    if (modifiers & Qt::AltModifier)
        text += "Alt+";
    switch (combination.key()) {
    case Qt::Key_Backspace:
        return text + QString::fromUtf8("Rück");
    case Qt::Key_Delete:
        return text + "Entf";
    default:
        return text + QKeySequence(combination.key()).toString(QKeySequence::PortableText);
    }
}
