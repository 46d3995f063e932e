#include "surface/widget/screen_form.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QScreen>

TScreenForm::TScreenForm(const DrawingState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), surface_(state) {
    setWindowTitle("ScreenForm");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void TScreenForm::ShowOnPrimaryScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    setGeometry(screen->geometry());
    show();
    raise();
    activateWindow();
}

void TScreenForm::ApplyCursorMode(int mauszeigerMode) {
    cursorMode_ = mauszeigerMode;
    setCursor(mauszeigerMode == 2 ? Qt::BlankCursor : Qt::ArrowCursor);
}

void TScreenForm::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QImage& picture = surface_.Picture();
    // The picture is in device pixels; draw it one to one whatever the screen's scale.
    qreal scale = devicePixelRatioF();
    QRectF area = event->rect();
    painter.fillRect(area, Qt::black);
    if (picture.isNull())
        return;
    QRectF source(area.x() * scale, area.y() * scale, area.width() * scale, area.height() * scale);
    painter.drawImage(area, picture, source);
}

void TScreenForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}

void TScreenForm::FormShow() { ApplyCursorMode(cursorMode_); }

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
