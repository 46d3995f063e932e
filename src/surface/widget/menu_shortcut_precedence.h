#pragma once
// Lets the shared popup menu's shortcuts win over a text field's own editing keys.
//
// A line edit claims keys such as Ctrl+C or Ctrl+Backspace through ShortcutOverride, so
// those shortcuts would never fire while it has the focus. Installed on the field, this
// filter refuses the override for every key that is the shortcut of an action of the
// menu (through its submenus) or of the extra widget's actions, so the shortcut runs.

#include <QKeySequence>
#include <QObject>
#include <QPointer>

class QAction;
class QKeyEvent;
class QMenu;
class QWidget;

class MenuShortcutPrecedence : public QObject {
    Q_OBJECT
public:
    explicit MenuShortcutPrecedence(QObject* parent = nullptr) : QObject(parent) {}

    void setMenu(QMenu* menu);
    void setActionOwner(QWidget* owner);

    // Whether the key event is the shortcut of one of the actions.
    bool isMenuShortcut(const QKeyEvent& event) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QMenu> menu_;
    QPointer<QWidget> owner_;
};
