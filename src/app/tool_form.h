#pragma once
// TToolForm: the small stay-on-top palette at the right edge of the primary screen, the
// program's main window. It owns the drawing state, the popup menu shared with the drawing
// surface, and the Start/Finish control of a drawing phase. Its choices and commands act on
// the drawing engine directly; the surface window is what it shows, hides and docks into.

#include "app/drawing_choices.h"
#include "app/palette_glyphs.h"
#include "platform/screen_grab.h"
#include "surface/drawing_state.h"

#include <QImage>
#include <QMap>
#include <QTimer>
#include <QWidget>
#include <functional>

class QAction;
class QActionGroup;
class QButtonGroup;
class QMenu;
class QPushButton;
class QToolButton;
class DrawingSurface;
class TScreenForm;

class TToolForm : public QWidget {
    Q_OBJECT
public:
    explicit TToolForm(QWidget* parent = nullptr);
    ~TToolForm() override;

    // The drawing engine, which reads drawingState(), and the window that shows it; both are
    // created after the palette and handed to it once, before it is shown or used.
    void AttachSurface(DrawingSurface& surface, TScreenForm& screen);

    const DrawingState& drawingState() const { return state_; }

    // The palette's state: idle (collapsed to Start), a drawing phase (expanded, Finish) or
    // finishing. Idle and Drawing index the Start/Finish captions and hints.
    enum class Phase {
        Idle = 0,
        Drawing = 1,
        // Only inside Finish: tells the surface's close that Finish is closing it.
        Finishing = 2,
    };
    Phase PaletteState = Phase::Idle;
    bool FirstActivate = true;
    QTimer Timer1;
    // True once the first activation's start-up steps are all done.
    bool StartedUp = false;
    // A drawing phase asked for from outside before the start-up steps were done: it starts
    // when they are, as the automatic start does.
    bool StartWhenStartedUp = false;

    // Start-up steps that belong to other parts of the program; the frame runs them in order
    // at the first activation. Each may be empty.
    std::function<void()> loadSettings;
    std::function<void()> applyRunTimeTexts;
    std::function<void()> saveSettings;
    // The screen grab used by Start (replaceable by tests).
    std::function<ScreenCapture()> grabScreen;

    // Command handlers shared by buttons and menu items.
    void StartFertigBtnClick();
    void RueckgaengigBtnClick();
    void ClearBtnClick();
    void DruckBtnClick();
    void SaveBtnClick();
    void ClipBtnClick();
    void InfoBtnClick();
    std::function<void()> onPrint, onSave, onCopy, onInfo;

    // Choice handlers, by stored code.
    void ChooseWidth(int code);
    void ChooseColour(int code);
    void ChooseTool(int code);
    void ApplyStoredModes();

    void FormActivate();
    // Puts the palette, frame included, at the top right corner of the primary screen.
    void PlaceAtTopRight();
    void Timer1Timer();
    // Hides the palette, grabs the screen and shows it on the surface; false, with the
    // palette back as it was, when the screen could not be read.
    bool CaptureScreen();
    void ShowToolBar();
    void ShowStartOnly();
    void UpdateStartCaption();

    // Where windows cannot be placed (Wayland), the palette of a drawing phase is part of
    // the surface, at its top-right corner; idle it is a window of its own again.
    static bool DocksInSurface();
    void DockIntoSurface();
    void UndockFromSurface();
    bool isDocked() const;

    // Widgets, for tests and for the run-time texts.
    QPushButton* StartFertigBtn = nullptr;
    QWidget* ToolBar1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* StartFertig1 = nullptr;
    QToolButton* button(const QString& name) const { return buttons_.value(name); }
    QAction* menuItem(const QString& name) const { return menuItems_.value(name); }
    QList<QAction*> shortcutActions() const { return shortcutActions_; }

    // A menu item's caption, shown with the German name of its shortcut beside it.
    static void SetMenuCaption(QAction* item, const QString& caption);
    static QString MenuCaption(const QAction* item);
    // Hints keep their CR LF line breaks; a tooltip breaks its line at the LF alone.
    static QString ToolTipText(const QString& hint) { return QString(hint).replace("\r\n", "\n"); }

    // Client heights of the two forms of the palette.
    static constexpr int kCollapsedHeight = 23;
    int expandedHeight() const;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void buildToolBar();
    void buildPopupMenu();
    QToolButton* addToolButton(const QString& name, int glyph, const QString& hint, int column,
                               int top, QButtonGroup* group);
    QAction* addMenuItem(QMenu* menu, const QString& name, const QString& text, int glyph,
                         const QString& shortcut, std::function<void()> handler,
                         QActionGroup* group = nullptr);
    void pressChoice(const QString& buttonName, const QString& itemName);
    // Draws the tool symbol again where the mouse pointer is now.
    void RefreshToolSymbol();
    void FormClose();
    // After a drawing phase: the palette is the program's task-list entry again, with the focus.
    void BecomeTaskListEntry();

    DrawingState state_;
    PaletteGlyphIcons glyphs_;
    DrawingSurface* surface_ = nullptr;
    TScreenForm* screen_ = nullptr;
    QMap<QString, QToolButton*> buttons_;
    QMap<QString, QAction*> menuItems_;
    QList<QAction*> shortcutActions_;
    QToolButton* infoBtn_ = nullptr;
    bool closing_ = false;
    Qt::WindowFlags windowFlagsWhenIdle_;
};
