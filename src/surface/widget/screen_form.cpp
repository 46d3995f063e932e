#include "surface/widget/screen_form.h"

#include "surface/text_keys.h"
#include "surface/widget/device_pixels.h"
#include "surface/widget/menu_shortcut_precedence.h"
#include "surface/widget/text_box_edit.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace {
ShiftState shiftOf(const QMouseEvent& event) {
    return {.shift = (event.modifiers() & Qt::ShiftModifier) != 0,
            .left = (event.buttons() & Qt::LeftButton) != 0,
            .right = (event.buttons() & Qt::RightButton) != 0};
}

MouseButton buttonOf(const QMouseEvent& event) {
    switch (event.button()) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::RightButton:
        return MouseButton::Right;
    default:
        return MouseButton::Middle;
    }
}
} // namespace

TScreenForm::TScreenForm(DrawingSurface& surface, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), surface_(surface) {
    setWindowTitle("ScreenForm");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);

    edit1_ = createEdit1(this);
    edit1_->installEventFilter(this);
    shortcutPrecedence_ = new MenuShortcutPrecedence(this);
    shortcutPrecedence_->setActionOwner(this);
    edit1_->installEventFilter(shortcutPrecedence_);
    connect(edit1_, &QLineEdit::textChanged, this,
            [this](const QString& text) { surface_.Edit1Change(text); });

    surface_.pictureChanged = [this](const QRect& device) {
        pictureChanged(device);
    };
    surface_.textBoxChanged = [this](bool wantsFocus) {
        textBoxChanged(wantsFocus);
    };
}

TScreenForm::~TScreenForm() {
    surface_.pictureChanged = nullptr;
    surface_.textBoxChanged = nullptr;
}

void TScreenForm::setPopupMenu(QMenu* menu) {
    popupMenu_ = menu;
    shortcutPrecedence_->setMenu(menu);
}

void TScreenForm::ShowOnPrimaryScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    setGeometry(screen->geometry());
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        // A Wayland client cannot place a window: it asks the compositor for full screen on
        // the output, which also keeps panels and docks off the picture.
        winId();
        windowHandle()->setScreen(screen);
        showFullScreen();
        activateWindow();
        return;
    }
    // Full screen in the window manager's sense: the whole monitor, over the desktop's
    // panels, where a plain window would be fitted to the area the panels leave.
    showFullScreen();
    raise();
    activateWindow();
}

void TScreenForm::ApplyCursorMode(bool toolSymbolOnly) {
    toolSymbolOnly_ = toolSymbolOnly;
    setCursor(toolSymbolOnly ? Qt::BlankCursor : Qt::ArrowCursor);
}

QPoint TScreenForm::pointerInPicture() const {
    return devicePointOf(QPointF(mapFromGlobal(QCursor::pos())), devicePixelRatioF());
}

// ---- painting ----

void TScreenForm::pictureChanged(const QRect& device) {
    // One pixel more on every side: a fractional scale may split a device pixel.
    update(logicalRectOf(device, devicePixelRatioF()).adjusted(-1, -1, 1, 1));
}

void TScreenForm::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QImage& picture = surface_.Picture();
    // The picture is in device pixels; draw it one to one whatever the screen's scale.
    qreal scale = devicePixelRatioF();
    QRect covered = logicalRectOf(picture.rect(), scale);
    for (const QRect& area : event->region()) {
        // The window is opaque: whatever the picture does not cover is painted black.
        if (!covered.contains(area))
            painter.fillRect(area, Qt::black);
        if (!picture.isNull())
            painter.drawImage(QRectF(area), picture, QRectF(deviceRectOf(area, scale)));
    }
}

// ---- showing and closing ----

void TScreenForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}

void TScreenForm::FormShow() {
    ApplyCursorMode(toolSymbolOnly_);
    surface_.CloseTextBox();
}

void TScreenForm::closeEvent(QCloseEvent* event) {
    // The window itself is only hidden; a close that does not come from Finish ends the
    // program through the palette.
    event->accept();
    if (!(closingFromFinish && closingFromFinish()) && onClosedOtherwise)
        onClosedOtherwise();
}

void TScreenForm::contextMenuEvent(QContextMenuEvent* event) {
    if (popupMenu_)
        popupMenu_->exec(event->globalPos());
}

// ---- mouse ----

void TScreenForm::mousePressEvent(QMouseEvent* event) {
    if (onPicturePressed)
        onPicturePressed();
    surface_.MouseDown(buttonOf(*event), shiftOf(*event),
                       devicePointOf(event->position(), devicePixelRatioF()));
}

void TScreenForm::mouseMoveEvent(QMouseEvent* event) {
    surface_.MouseMove(shiftOf(*event), devicePointOf(event->position(), devicePixelRatioF()));
}

void TScreenForm::mouseReleaseEvent(QMouseEvent* event) {
    surface_.MouseUp(buttonOf(*event), shiftOf(*event),
                     devicePointOf(event->position(), devicePixelRatioF()));
}

// ---- keys ----

void TScreenForm::FormKeyDown(const QKeyEvent& event) {
    if (event.modifiers() & Qt::ShiftModifier)
        surface_.KeyDownWithShift();
}

void TScreenForm::FormKeyUp(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Shift && !event.isAutoRepeat())
        surface_.ShiftKeyUp(pointerInPicture());
}

void TScreenForm::keyPressEvent(QKeyEvent* event) {
    FormKeyDown(*event);
    QWidget::keyPressEvent(event);
}

void TScreenForm::keyReleaseEvent(QKeyEvent* event) {
    FormKeyUp(*event);
    QWidget::keyReleaseEvent(event);
}

bool TScreenForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit1_)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        FormKeyDown(*key);
        // Edit1KeyPress: Enter commits, Esc drops; both are consumed here.
        int character = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ? kEnterKey
                        : key->key() == Qt::Key_Escape                              ? kEscapeKey
                                                                                    : 0;
        if (character && surface_.Edit1KeyPress(character)) {
            setFocus();
            return true;
        }
    } else if (event->type() == QEvent::KeyRelease) {
        FormKeyUp(*static_cast<QKeyEvent*>(event));
    }
    return QWidget::eventFilter(watched, event);
}

// ---- the text box ----

void TScreenForm::textBoxChanged(bool wantsFocus) {
    bool hadFocus = edit1_->hasFocus();
    mirrorTextBox(*edit1_, surface_.textBox(), devicePixelRatioF());
    if (surface_.textBox().open && wantsFocus)
        edit1_->setFocus();
    else if (!surface_.textBox().open && hadFocus)
        setFocus();
}
