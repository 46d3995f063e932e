#include "controls/shadow_label.h"

#include "controls/font_points.h"
#include "controls/property_change.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace {

constexpr double kSmallestShrunkPoints = 7;
constexpr int kUnlimited = 1 << 20;
constexpr QSize kDefaultSize(120, 30);

bool fits(QSize needed, QSize box) {
    return needed.width() <= box.width() && needed.height() <= box.height();
}

// Blanks and control characters at both ends go before a word is cut.
QString trimControls(const QString& text) {
    qsizetype first = 0, last = text.size();
    while (first < last && text[first].unicode() <= 32)
        ++first;
    while (last > first && text[last - 1].unicode() <= 32)
        --last;
    return text.mid(first, last - first);
}

} // namespace

QString StringReplaceAll(const QString& text, const QString& pattern, const QString& replacement) {
    if (pattern.isEmpty())
        return text;
    QString result;
    qsizetype from = 0;
    for (qsizetype at; (at = text.indexOf(pattern, from)) >= 0; from = at + pattern.size())
        result += text.mid(from, at - from) + replacement;
    return result + text.mid(from);
}

LabelFit FitLabelText(const QString& text, double points, QSize box, const MeasureText& measure) {
    QSize needed = measure(text, points);
    while (!fits(needed, box) && points > kSmallestShrunkPoints) {
        points = std::max(kSmallestShrunkPoints, std::round(points) - 1);
        needed = measure(text, points);
    }
    QString kept = text, suffix;
    while (!fits(needed, box) && !kept.isEmpty()) {
        kept = trimControls(kept);
        const qsizetype lastBlank = kept.lastIndexOf(QLatin1Char(' '));
        kept = lastBlank >= 0 ? kept.left(lastBlank) : QString();
        suffix = kept.isEmpty() ? QStringLiteral("...") : QStringLiteral(" ...");
        needed = measure(kept + suffix, points);
    }
    return {kept + suffix, points};
}

TShadowLabel::TShadowLabel(QWidget* parent) : QWidget(parent) {
    resize(kDefaultSize);
}

void TShadowLabel::setCaption(const QString& caption) {
    if (!changeProperty(caption_, caption))
        return;
    adjustSize();
    update();
}

void TShadowLabel::setShadow(int offset) {
    if (changeProperty(shadow_, offset))
        repaint();
}

void TShadowLabel::setShadowColor(const QColor& colour) {
    if (changeProperty(shadowColor_, colour))
        repaint();
}

void TShadowLabel::setAlignment(Qt::Alignment alignment) {
    alignment_ = alignment & Qt::AlignHorizontal_Mask;
    update();
}

void TShadowLabel::setLayout(TTextLayout layout) {
    layout_ = layout;
    update();
}

void TShadowLabel::setWordWrap(bool wrap) {
    wordWrap_ = wrap;
    adjustSize();
    update();
}

void TShadowLabel::setAutoSize(bool on) {
    autoSize_ = on;
    adjustSize();
    update();
}

void TShadowLabel::setTransparent(bool on) {
    transparent_ = on;
    update();
}

void TShadowLabel::setColor(const QColor& colour) {
    color_ = colour;
    update();
}

int TShadowLabel::textFlags() const {
    int flags = int(alignment_) | Qt::AlignTop | Qt::TextExpandTabs | Qt::TextShowMnemonic;
    if (wordWrap_)
        flags |= Qt::TextWordWrap;
    return flags;
}

QSize TShadowLabel::measure(const QString& text, const QFont& font) const {
    const int limit = wordWrap_ ? width() : kUnlimited;
    return QFontMetrics(font, this)
        .boundingRect(QRect(0, 0, limit, kUnlimited), textFlags(), text)
        .size();
}

LabelFit TShadowLabel::PaintedText() const {
    const QString text = StringReplaceAll(caption_, QStringLiteral("|"), QStringLiteral("\n"));
    const double points = FontPoints(font(), *this);
    if (autoSize_)
        return {text, points};
    return FitLabelText(text, points, size(),
                        [this](const QString& candidate, double candidatePoints) {
                            return measure(candidate, FontAtPoints(font(), candidatePoints));
                        });
}

void TShadowLabel::adjustSize() {
    if (!autoSize_)
        return;
    const QString text = StringReplaceAll(caption_, QStringLiteral("|"), QStringLiteral("\n"));
    const QSize needed = measure(text, font());
    resize(wordWrap_ ? width() : needed.width(), needed.height());
}

void TShadowLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        adjustSize();
    QWidget::changeEvent(event);
}

void TShadowLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect box = rect();
    if (!transparent_)
        painter.fillRect(box, color_.isValid() ? color_ : palette().color(QPalette::Window));

    const LabelFit fit = PaintedText();
    // The shrunk size lives only in this paint; the label's own font stays as it is.
    const QFont paintFont =
        fit.points == FontPoints(font(), *this) ? font() : FontAtPoints(font(), fit.points);
    painter.setFont(paintFont);

    if (layout_ != tlTop) {
        int room = height() - measure(fit.text, paintFont).height();
        if (layout_ == tlCenter)
            room /= 2;
        box.translate(0, std::max(room, 0)); // a text taller than the label starts at its top
    }
    const int flags = textFlags();
    if (shadow_ > 0) {
        painter.setPen(shadowColor_);
        painter.drawText(box.translated(shadow_, shadow_), flags, fit.text);
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(box, flags, fit.text);
}
