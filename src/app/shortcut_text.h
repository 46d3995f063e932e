#pragma once
// Shortcut names as the menus show them: German key names, with the modifiers in the order
// Shift, Ctrl, Alt ("Strg+Rück", "Umsch+Alt+1", "Strg+Entf").

#include <QKeySequence>
#include <QString>

QString ShortcutText(const QKeySequence& shortcut);
