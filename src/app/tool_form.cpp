#include "app/tool_form.h"

#include "app/palette_glyphs.h"
#include "app/settings.h"
#include "app/shortcut_text.h"
#include "app/start_texts.h"
#include "app/window_frame.h"
#include "controls/modal_placement.h"
#include "platform/wayland_client.h"
#include "platform/window_manager_hints.h"
#include "surface/drawing_surface.h"
#include "surface/widget/screen_form.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QToolButton>
#include <QWindow>

namespace {

constexpr int kClientWidth = 52;
constexpr int kColumns = 2;
constexpr int kCellWidth = 25;
constexpr int kCellHeight = 24;
constexpr int kSeparator = 8;
constexpr QPoint kToolBarOrigin{1, 24};
// Each colour row holds a transparent colour and its opaque twin, the table's second half.
constexpr std::size_t kColourRows = kColourChoices.size() / kColumns;

// With AutoOpen, the first activation presses Start after this long.
constexpr int kAutoStartDelayMs = 250;
// How long the first activation waits for the window manager to tell the frame's size.
constexpr int kFrameWaitMs = 300;
constexpr int kFrameWaitStepMs = 20;

// The commands of the tool bar's last three rows, which end the menu too.
struct Command {
    const char* button;
    const char* menuItem;
    int glyph;
    const char* designHint;
    const char* designMenuText;
    const char* shortcut;
    void (TToolForm::*run)();
    bool apart; // a separator before it in the menu
};
const Command kCommands[] = {
    {"RueckgaengigBtn", "Rckgngig1", 16, "Rückgängig", "Rückgängig", "Ctrl+Backspace",
     &TToolForm::RueckgaengigBtnClick, false},
    {"ClearBtn", "Alleslschen1", 14, "Alles löschen", "Alles löschen", "Ctrl+Delete",
     &TToolForm::ClearBtnClick, false},
    {"DruckBtn", "Drucken1", 21, "Drucken", "Drucken...", "Ctrl+P", &TToolForm::DruckBtnClick,
     false},
    {"SaveBtn", "Speichern1", 13, "Speichern", "Speichern...", "Ctrl+S", &TToolForm::SaveBtnClick,
     false},
    {"ClipBtn", "IndieZwischenablage1", 12, "In die Zwischenablage", "In die Zwischenablage",
     "Ctrl+C", &TToolForm::ClipBtnClick, false},
    {"InfoBtn", "Info1", 22, "Info / Einstellungen / Hilfe", "Info / Einstellungen / Hilfe", "F1",
     &TToolForm::InfoBtnClick, true},
};

} // namespace

TToolForm::TToolForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    // FormCreate
    setWindowTitle("Skribando");
    setAttribute(Qt::WA_AlwaysShowToolTips);
    QFont paletteFont("MS Sans Serif");
    paletteFont.setPointSize(8);
    setFont(paletteFont);

    StartFertigBtn = new QPushButton(this);
    StartFertigBtn->setObjectName("StartFertigBtn");
    StartFertigBtn->setGeometry(0, 0, kClientWidth, kCollapsedHeight);
    QFont buttonFont("Arial");
    buttonFont.setPointSize(8);
    StartFertigBtn->setFont(buttonFont);
    StartFertigBtn->setFocusPolicy(Qt::NoFocus);
    connect(StartFertigBtn, &QPushButton::clicked, this, [this] { StartFertigBtnClick(); });
    // Esc on the palette presses the Start/Finish button.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, StartFertigBtn, &QPushButton::click);

    buildToolBar();
    buildPopupMenu();

    FirstActivate = true;
    setFixedWidth(kClientWidth);
    ShowStartOnly();
    state_.Tool = ToolNone;

    Timer1.setSingleShot(true);
    Timer1.setInterval(kAutoStartDelayMs);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    setMouseTracking(true);
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }
}

TToolForm::~TToolForm() = default;

void TToolForm::AttachSurface(DrawingSurface& surface, TScreenForm& screen) {
    surface_ = &surface;
    screen_ = &screen;
    screen_->setPopupMenu(PopupMenu1);
    screen_->addActions(shortcutActions_);
    screen_->closingFromFinish = [this] {
        return PaletteState == Phase::Finishing;
    };
    screen_->onClosedOtherwise = [this] {
        close();
    };
    // A press on the picture may have brought the surface over the palette.
    screen_->onPicturePressed = [this] {
        raise();
        // Some window managers give a raised window the focus: the keys stay with the picture.
        KeepFocusOn(*screen_);
    };
    // The surface stays out of the desktop's task list (see eventFilter).
    screen_->installEventFilter(this);
}

// --- Layout ------------------------------------------------------------------------------

QToolButton* TToolForm::addToolButton(const QString& name, int glyph, const QString& hint,
                                      int column, int top, QButtonGroup* group) {
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(name);
    button->setAutoRaise(true);
    button->setIcon(glyphs_.icon(glyph));
    button->setIconSize(QSize(kGlyphSize, kGlyphSize));
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(column * kCellWidth, top, kCellWidth, kCellHeight);
    if (group) {
        button->setCheckable(true);
        group->addButton(button);
    }
    buttons_.insert(name, button);
    return button;
}

void TToolForm::buildToolBar() {
    ToolBar1 = new QWidget(this);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->move(kToolBarOrigin);

    auto* widths = new QButtonGroup(this);
    auto* colours = new QButtonGroup(this);
    auto* tools = new QButtonGroup(this);
    // Each group fills its rows from the left; a separator between groups.
    static_assert(kWidthChoices.size() % kColumns == 0 && kColourChoices.size() % kColumns == 0 &&
                  kToolChoices.size() % kColumns == 0 && std::size(kCommands) % kColumns == 0);
    int top = 0;
    const auto addInRow = [&](std::size_t i, const char* name, int glyph, const char* hint,
                              QButtonGroup* group) {
        const int column = static_cast<int>(i % kColumns);
        QToolButton* b = addToolButton(name, glyph, hint, column, top, group);
        if (column == kColumns - 1)
            top += kCellHeight;
        return b;
    };
    for (std::size_t i = 0; i < kWidthChoices.size(); ++i) {
        const WidthChoice& w = kWidthChoices[i];
        auto* b = addInRow(i, w.button, w.glyph, w.designHint, widths);
        connect(b, &QToolButton::clicked, this, [this, code = w.code] { ChooseWidth(code); });
    }
    top += kSeparator;
    for (std::size_t i = 0; i < kColourChoices.size(); ++i) {
        const ColourChoice& c = kColourChoices[i / kColumns + (i % kColumns) * kColourRows];
        auto* b = addInRow(i, c.button, c.glyph, c.designHint, colours);
        connect(b, &QToolButton::clicked, this, [this, code = c.code] { ChooseColour(code); });
    }
    top += kSeparator;
    for (std::size_t i = 0; i < kToolChoices.size(); ++i) {
        const ToolChoice& t = kToolChoices[i];
        auto* b = addInRow(i, t.button, t.glyph, t.designHint, tools);
        connect(b, &QToolButton::clicked, this, [this, code = t.code] { ChooseTool(code); });
    }
    top += kSeparator;
    for (std::size_t i = 0; i < std::size(kCommands); ++i) {
        const Command& c = kCommands[i];
        auto* b = addInRow(i, c.button, c.glyph, c.designHint, nullptr);
        connect(b, &QToolButton::clicked, this, [this, run = c.run] { (this->*run)(); });
    }
    infoBtn_ = buttons_.value("InfoBtn");
    ToolBar1->resize(kColumns * kCellWidth, top);
}

int TToolForm::expandedHeight() const {
    // The tool bar's top, plus the top of its bottom row's button, plus that button's height
    // and one pixel, taken from the laid-out buttons.
    return ToolBar1->y() + infoBtn_->y() + infoBtn_->height() + 1;
}

QAction* TToolForm::addMenuItem(QMenu* menu, const QString& name, const QString& text, int glyph,
                                const QString& shortcut, std::function<void()> handler,
                                QActionGroup* group) {
    auto* action = menu->addAction(QString());
    action->setObjectName(name);
    if (glyph >= 0)
        action->setIcon(glyphs_.icon(glyph));
    if (!shortcut.isEmpty()) {
        action->setShortcut(QKeySequence(shortcut));
        shortcutActions_.append(action);
    }
    SetMenuCaption(action, text);
    if (group) {
        action->setCheckable(true);
        group->addAction(action);
    }
    connect(action, &QAction::triggered, this, [handler] { handler(); });
    menuItems_.insert(name, action);
    return action;
}

void TToolForm::buildPopupMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    StartFertig1 = addMenuItem(PopupMenu1, "StartFertig1", "Fertig", -1, "F9",
                               [this] { StartFertigBtnClick(); });
    PopupMenu1->addSeparator();

    QMenu* widths = PopupMenu1->addMenu("Strichdicke");
    widths->menuAction()->setObjectName("Strichdicke1");
    menuItems_.insert("Strichdicke1", widths->menuAction());
    auto* widthGroup = new QActionGroup(this);
    for (const WidthChoice& w : kWidthChoices)
        addMenuItem(
            widths, w.menuItem, QString("&%1").arg(w.code), w.glyph, w.shortcut,
            [this, code = w.code] { ChooseWidth(code); }, widthGroup);

    QMenu* colours = PopupMenu1->addMenu("Farbe");
    colours->menuAction()->setObjectName("Farbe1");
    menuItems_.insert("Farbe1", colours->menuAction());
    auto* colourGroup = new QActionGroup(this);
    for (const ColourChoice& c : kColourChoices) {
        if (&c == &kColourChoices[kColourRows]) // the opaque ones
            colours->addSeparator();
        addMenuItem(
            colours, c.menuItem, c.designMenuText, c.glyph, c.shortcut,
            [this, code = c.code] { ChooseColour(code); }, colourGroup);
    }
    PopupMenu1->addSeparator();

    auto* toolGroup = new QActionGroup(this);
    for (int code : kToolMenuOrder) {
        const ToolChoice& t = *toolByCode(code);
        addMenuItem(
            PopupMenu1, t.menuItem, t.designMenuText, t.glyph, t.shortcut,
            [this, code] { ChooseTool(code); }, toolGroup);
    }
    PopupMenu1->addSeparator();
    for (const Command& c : kCommands) {
        if (c.apart)
            PopupMenu1->addSeparator();
        addMenuItem(PopupMenu1, c.menuItem, c.designMenuText, c.glyph, c.shortcut,
                    [this, run = c.run] { (this->*run)(); });
    }

    // The shortcuts work while the palette is active; AttachSurface adds them to the
    // drawing surface too.
    addActions(shortcutActions_);
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this] { surface_->ParkToolSymbol(); });
}

void TToolForm::SetMenuCaption(QAction* item, const QString& caption) {
    // A tab in a menu text puts what follows it in the shortcut column; the shortcut itself
    // stays the action's.
    const QString shortcut = ShortcutText(item->shortcut());
    item->setText(shortcut.isEmpty() ? caption : caption + '\t' + shortcut);
}

QString TToolForm::MenuCaption(const QAction* item) {
    return item->text().section('\t', 0, 0);
}

// --- Choices -----------------------------------------------------------------------------

void TToolForm::pressChoice(const QString& buttonName, const QString& itemName) {
    if (QToolButton* b = buttons_.value(buttonName))
        b->setChecked(true);
    if (QAction* a = menuItems_.value(itemName))
        a->setChecked(true);
}

void TToolForm::ChooseWidth(int code) {
    const WidthChoice* choice = widthByCode(code);
    if (!choice)
        return;
    pressChoice(choice->button, choice->menuItem);
    Settings().StiftdickeMode = code;
    surface_->ParkToolSymbol();
    state_.PenWidth = choice->penWidth;
    RefreshToolSymbol();
}

void TToolForm::ChooseColour(int code) {
    const ColourChoice* choice = colourByCode(code);
    if (!choice)
        return;
    pressChoice(choice->button, choice->menuItem);
    Settings().FarbMode = code;
    state_.PenColour = choice->colour;
    state_.PenMode = choice->mode;
    // The text box shows only during a drawing phase.
    if (screen_->isVisible())
        surface_->SyncTextColour();
    RefreshToolSymbol();
}

void TToolForm::ChooseTool(int code) {
    const ToolChoice* choice = toolByCode(code);
    if (!choice)
        return;
    pressChoice(choice->button, choice->menuItem);
    Settings().WerkzeugMode = code;
    surface_->ParkToolSymbol();
    surface_->ResetPointForToolChoice(choice->tool);
    state_.Tool = choice->tool;
    RefreshToolSymbol();
}

void TToolForm::ApplyStoredModes() {
    screen_->ApplyCursorMode(Settings().MauszeigerMode == kToolSymbolOnly);
    ChooseWidth(Settings().StiftdickeMode);
    ChooseColour(Settings().FarbMode);
    ChooseTool(Settings().WerkzeugMode);
}

void TToolForm::RefreshToolSymbol() {
    surface_->RefreshToolSymbol(screen_->pointerInPicture());
}

// --- Commands ------------------------------------------------------------------------------

void TToolForm::RueckgaengigBtnClick() {
    surface_->Undo();
}

void TToolForm::ClearBtnClick() {
    surface_->Clear();
}

void TToolForm::DruckBtnClick() {
    if (onPrint)
        onPrint();
}
void TToolForm::SaveBtnClick() {
    if (onSave)
        onSave();
}
void TToolForm::ClipBtnClick() {
    if (onCopy)
        onCopy();
}
void TToolForm::InfoBtnClick() {
    if (onInfo)
        onInfo();
}

// --- Events --------------------------------------------------------------------------------

bool TToolForm::event(QEvent* event) {
    // A Wayland compositor may answer a new window with a size it cannot take (sway's least
    // floating size is more than the palette's) and then holds the clicks for it until the
    // window's next frame, which nothing would draw: the frame is drawn once it is active.
    if (event->type() == QEvent::WindowActivate && isWindow() && RunsAsWaylandClient())
        update();
    if (event->type() == QEvent::WindowActivate && FirstActivate)
        FormActivate();
    if (event->type() == QEvent::Show && isWindow()) {
        // A window manager lifts a focused window that covers the whole screen above even
        // the stay-on-top windows; a tool window stays above the window it is transient for,
        // so the palette is tied to the surface each time it is mapped over it. Between
        // drawing phases it is an ordinary window: the program's entry in the task list.
        const bool overSurface = screen_->isVisible();
        screen_->winId();
        windowHandle()->setTransientParent(overSurface ? screen_->windowHandle() : nullptr);
        ShowInTaskList(*windowHandle(), !overSurface);
    }
    // Without a window manager the palette may never be activated: its first showing then
    // runs the start-up steps.
    if (event->type() == QEvent::Show && FirstActivate)
        QTimer::singleShot(0, this, [this] { FormActivate(); });
    return QWidget::event(event);
}

bool TToolForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == screen_) {
        // Sent before the window is mapped, while its states can still be set.
        if (event->type() == QEvent::Show)
            KeepOutOfTaskList(*screen_->windowHandle());
        if (event->type() == QEvent::Hide && isWindow() && isVisible())
            QTimer::singleShot(0, this, [this] { BecomeTaskListEntry(); });
        return false;
    }
    // ToolBar1MouseMove: the pointer reached the palette, so the symbol leaves the picture.
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter)
        surface_->ParkToolSymbol();
    return QWidget::eventFilter(watched, event);
}

void TToolForm::BecomeTaskListEntry() {
    if (!isWindow() || !isVisible() || screen_->isVisible())
        return;
    ShowInTaskList(*windowHandle(), true);
    // The keys go to the palette now; some window managers would leave the focus on no window.
    ActivateWindow(*windowHandle());
}

void TToolForm::contextMenuEvent(QContextMenuEvent* event) {
    PopupMenu1->exec(event->globalPos());
}

void TToolForm::FormActivate() {
    if (!FirstActivate)
        return;
    FirstActivate = false; // set first: a dialog opened below must not run these steps again
    // A window manager tells the frame's size only once the window is shown: place the
    // palette again now that it is known, before a stored position may move it. Keys and
    // clicks wait until the start-up steps are done, so no choice is overwritten by them.
    // A Wayland compositor places windows itself and reports no frame: there the wait would
    // only hold back the frame the compositor waits for before the palette takes clicks.
    QDeadlineTimer frameKnown(RunsAsWaylandClient() ? 0 : kFrameWaitMs);
    while (!FrameIsKnown(*this) && !frameKnown.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, kFrameWaitStepMs);
    PlaceAtTopRight();
    if (loadSettings)
        loadSettings();
    ApplyStoredModes();
    raise();
    if (applyRunTimeTexts)
        applyRunTimeTexts();
    if (Settings().AutoOpen || StartWhenStartedUp)
        Timer1.start();
    StartedUp = true;
}

void TToolForm::PlaceAtTopRight() {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.x() + screen.width() - KnownFrameGeometry(*this).width(), screen.y());
}

void TToolForm::Timer1Timer() {
    Timer1.stop();
    QCoreApplication::processEvents();
    StartFertigBtnClick();
}

void TToolForm::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        FormClose();
    }
    event->accept();
}

void TToolForm::FormClose() {
    if (saveSettings)
        saveSettings();
    // The palette is the main window: closing it ends the program.
    QCoreApplication::quit();
}
