#include "controls/bit_button.h"

#include "controls/font_points.h"
#include "controls/property_change.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>
#include <cmath>

namespace {

constexpr int kCaptionFlags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
constexpr QSize kDefaultSize(75, 25);

std::function<void(int)>& helpHandler() {
    static std::function<void(int)> handler;
    return handler;
}

int helpContextFrom(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget())
        if (int context = widget->property("HelpContext").toInt(); context != 0)
            return context;
    return 0;
}

} // namespace

double FitCaptionPoints(double points, int available,
                        const std::function<int(double points)>& measureWidth) {
    while (measureWidth(points) > available && points > 1)
        points = std::max(1.0, std::round(points) - 1);
    return points;
}

TBitBtn2::TBitBtn2(QWidget* parent) : QPushButton(parent) {
    setAutoDefault(false); // Default stays what was set, whatever has the focus
    resize(kDefaultSize);
    pictureSize_ = size();
    glyph_.OnChange = [this] {
        update();
    };
    connect(this, &QAbstractButton::clicked, this, &TBitBtn2::handleClick);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { focusMoved(now); });
}

TBitBtn2::~TBitBtn2() {
    glyph_.OnChange = nullptr;
    // The widget's own destruction moves the focus away; that must not reach this button's
    // handler once the button part of the object is gone.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

TBitBtnKind TBitBtn2::Kind() {
    followSize();
    if (kind_ != bkCustom) {
        const KindSetup setup = KindSetupOf(kind_);
        if (isDefault() != setup.isDefault || cancel_ != setup.cancel ||
            modalResult_ != setup.modalResult || glyphModified_)
            kind_ = bkCustom;
    }
    return kind_;
}

void TBitBtn2::setKind(TBitBtnKind kind) {
    if (kind == Kind())
        return;
    if (kind != bkCustom) {
        const KindSetup setup = KindSetupOf(kind);
        setDefault(setup.isDefault);
        setCancel(setup.cancel);
        setModalResult(setup.modalResult);
        setGlyph(KindPicture(kind));
        setNumGlyphs(2);
        glyphModified_ = false;
    }
    kind_ = kind;
    update();
}

void TBitBtn2::setGlyph(const QImage& glyph) {
    glyph_.setGlyph(glyph);
    glyphReplaced();
}

void TBitBtn2::glyphReplaced() {
    glyphModified_ = true;
    pictureSize_ = size();
    update();
}

void TBitBtn2::setNumGlyphs(int count) {
    glyph_.setNumGlyphs(count);
}

void TBitBtn2::setMargin(int margin) {
    if (margin >= -1 && changeProperty(margin_, margin))
        update();
}

void TBitBtn2::setStyle3D(int style) {
    if (changeProperty(style3D_, style))
        update();
}

void TBitBtn2::setShadow(int offset) {
    if (changeProperty(shadow_, offset))
        update();
}

void TBitBtn2::setTransparent(bool on) {
    if (!changeProperty(transparent_, on))
        return;
    glyph_.Invalidate();
    glyphReplaced();
}

void TBitBtn2::setChecked(bool checked) {
    glyph_.setChecked(checked);
}

void TBitBtn2::setSelColor(const QColor& colour) {
    glyph_.setSelColor(colour);
}

void TBitBtn2::setColor(const QColor& colour) {
    color_ = colour;
    update();
}

void TBitBtn2::setCancel(bool cancel) {
    if (!changeProperty(cancel_, cancel))
        return;
    delete escape_;
    escape_ = nullptr;
    if (cancel) {
        // Esc anywhere in the window presses the button; a hidden or disabled button's
        // shortcut is inactive.
        escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
        escape_->setContext(Qt::WindowShortcut);
        connect(escape_, &QShortcut::activated, this, [this] {
            if (isEnabled() && isVisible())
                click();
        });
    }
}

void TBitBtn2::setHelpHandler(std::function<void(int)> handler) {
    helpHandler() = std::move(handler);
}

void TBitBtn2::handleClick() {
    if (kind_ == bkHelp) {
        if (int context = helpContextFrom(this); context != 0) {
            if (helpHandler())
                helpHandler()(context);
            return;
        }
    }
    if (kind_ == bkClose && window() != this) {
        window()->close();
        return;
    }
    if (modalResult_ != 0)
        if (auto* dialog = qobject_cast<QDialog*>(window()))
            dialog->done(modalResult_);
    emit Click();
}

void TBitBtn2::focusMoved(QWidget* now) {
    if (!now || now->window() != window())
        return;
    const bool active = qobject_cast<QPushButton*>(now) ? now == this : isDefault();
    if (active != active_) {
        active_ = active;
        update();
    }
}

void TBitBtn2::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            click();
            event->accept();
        } else {
            // Neither this button nor the dialog's default button is pressed by Enter with
            // Shift, Ctrl or Alt (the push button's and the dialog's own handling would).
            event->accept();
        }
        return;
    }
    QPushButton::keyPressEvent(event);
}

void TBitBtn2::followSize() {
    // The picture is assigned anew for a new size, so its images are built again. A hidden
    // widget gets its resize event only when shown, so the size is also checked on use.
    if (size() != pictureSize_) {
        glyph_.Invalidate();
        glyphReplaced();
    }
}

void TBitBtn2::resizeEvent(QResizeEvent* event) {
    followSize();
    QPushButton::resizeEvent(event);
}

void TBitBtn2::showEvent(QShowEvent* event) {
    // Built before the first paint, so showing the window only draws.
    const TButtonState state = isEnabled() ? TButtonState::bsUp : TButtonState::bsDisabled;
    glyph_.Prepare(pictureRect(state).size(), state, transparent_,
                   palette().color(QPalette::Button));
    QPushButton::showEvent(event);
}

TButtonState TBitBtn2::paintState() const {
    if (!isEnabled())
        return TButtonState::bsDisabled;
    return isDown() ? TButtonState::bsDown : TButtonState::bsUp;
}

QRect TBitBtn2::pictureRect(TButtonState state) const {
    QRect box(margin_ + 2, 2, width() - 4, height() - 4);
    if (state == TButtonState::bsDown)
        box.translate(1, 1);
    if (style3D_ == 1)
        box.adjust(-1, -1, 0, 0);
    return box;
}

void TBitBtn2::drawFace(QPainter& painter, TButtonState state) const {
    const int w = width(), h = height();
    const QColor face = color_.isValid() ? color_ : palette().color(QPalette::Button);
    if (state == TButtonState::bsDown) {
        painter.setPen(palette().color(QPalette::Dark));
        painter.setBrush(face);
        painter.drawRect(1, 1, w - 3, h - 3);
    } else {
        // Only the outer raised edge of a push-button frame shows around the flat face.
        painter.fillRect(1, 1, w - 2, h - 2, face);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(0, 0, w - 2, 0);
        painter.drawLine(0, 0, 0, h - 2);
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawLine(0, h - 1, w - 1, h - 1);
        painter.drawLine(w - 1, 0, w - 1, h - 1);
    }
    // Drawn last so that the frame stays visible over the raised edge.
    if (active_ || hasFocus()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, w - 1, h - 1);
    }
}

void TBitBtn2::drawCaption(QPainter& painter, const QRect& box, TButtonState state) const {
    const QString caption = text();
    if (caption.isEmpty())
        return;
    const double ownPoints = FontPoints(font(), *this);
    auto fontAt = [&](double points) {
        return points == ownPoints ? font() : FontAtPoints(font(), points);
    };
    const double points = FitCaptionPoints(ownPoints, box.width(), [&](double candidate) {
        return QFontMetrics(fontAt(candidate), this)
            .boundingRect(QRect(), kCaptionFlags, caption)
            .width();
    });
    painter.setFont(fontAt(points));
    if (state == TButtonState::bsDisabled) {
        painter.setPen(QColor(0xFF, 0xFF, 0xFF));
        painter.drawText(box.translated(1, 1), kCaptionFlags, caption);
        painter.setPen(QColor(0x80, 0x80, 0x80));
    } else {
        // A shadow of 0 would lie exactly under the caption; drawing it would only darken
        // the caption's smoothed edges.
        if (shadow_ != 0) {
            painter.setPen(Qt::black);
            painter.drawText(box.translated(shadow_, shadow_), kCaptionFlags, caption);
        }
        painter.setPen(palette().color(QPalette::ButtonText));
    }
    painter.drawText(box, kCaptionFlags, caption);
}

void TBitBtn2::paintEvent(QPaintEvent*) {
    followSize();
    QPainter painter(this);
    const TButtonState state = paintState();
    drawFace(painter, state);
    glyph_.Draw(painter, pictureRect(state), state, transparent_,
                palette().color(QPalette::Button));
    QRect captionBox(2, 2, width() - 4, height() - 4);
    if (state == TButtonState::bsDown)
        captionBox.translate(1, 1);
    drawCaption(painter, captionBox, state);
    if (active_) {
        QPen dots(palette().color(QPalette::WindowText), 0);
        dots.setDashPattern({1, 1});
        painter.setPen(dots);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(3, 3, width() - 7, height() - 7);
    }
}
