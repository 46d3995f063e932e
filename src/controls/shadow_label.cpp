#include "controls/shadow_label.h"

#include "controls/font_points.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace {

constexpr double kSmallestShrunkPoints = 7;
constexpr int kUnlimited = 1 << 20;

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
    resize(120, 30);
}

void TShadowLabel::setCaption(const QString& caption) {
    if (caption == m_caption)
        return;
    m_caption = caption;
    adjustSize();
    update();
}

void TShadowLabel::setShadow(int offset) {
    if (offset == m_shadow)
        return;
    m_shadow = offset;
    repaint();
}

void TShadowLabel::setShadowColor(const QColor& colour) {
    if (colour == m_shadowColor)
        return;
    m_shadowColor = colour;
    repaint();
}

void TShadowLabel::setAlignment(Qt::Alignment alignment) {
    m_alignment = alignment & Qt::AlignHorizontal_Mask;
    update();
}

void TShadowLabel::setLayout(TTextLayout layout) {
    m_layout = layout;
    update();
}

void TShadowLabel::setWordWrap(bool wrap) {
    m_wordWrap = wrap;
    adjustSize();
    update();
}

void TShadowLabel::setAutoSize(bool on) {
    m_autoSize = on;
    adjustSize();
    update();
}

void TShadowLabel::setTransparent(bool on) {
    m_transparent = on;
    update();
}

void TShadowLabel::setColor(const QColor& colour) {
    m_color = colour;
    update();
}

int TShadowLabel::textFlags() const {
    int flags = int(m_alignment) | Qt::AlignTop | Qt::TextExpandTabs | Qt::TextShowMnemonic;
    if (m_wordWrap)
        flags |= Qt::TextWordWrap;
    return flags;
}

QSize TShadowLabel::measure(const QString& text, const QFont& font) const {
    const int limit = m_wordWrap ? width() : kUnlimited;
    return QFontMetrics(font, this)
        .boundingRect(QRect(0, 0, limit, kUnlimited), textFlags(), text)
        .size();
}

LabelFit TShadowLabel::PaintedText() const {
    const QString text = StringReplaceAll(m_caption, QStringLiteral("|"), QStringLiteral("\n"));
    const double points = FontPoints(font(), *this);
    if (m_autoSize)
        return {text, points};
    return FitLabelText(text, points, size(),
                        [this](const QString& candidate, double candidatePoints) {
                            return measure(candidate, FontAtPoints(font(), candidatePoints));
                        });
}

void TShadowLabel::adjustSize() {
    if (!m_autoSize)
        return;
    const QString text = StringReplaceAll(m_caption, QStringLiteral("|"), QStringLiteral("\n"));
    const QSize needed = measure(text, font());
    resize(m_wordWrap ? width() : needed.width(), needed.height());
}

void TShadowLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        adjustSize();
    QWidget::changeEvent(event);
}

void TShadowLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect box = rect();
    if (!m_transparent)
        painter.fillRect(box, m_color.isValid() ? m_color : palette().color(QPalette::Window));

    const LabelFit fit = PaintedText();
    // The shrunk size lives only in this paint; the label's own font stays as it is.
    const QFont paintFont =
        fit.points == FontPoints(font(), *this) ? font() : FontAtPoints(font(), fit.points);
    painter.setFont(paintFont);

    if (m_layout != tlTop) {
        int room = height() - measure(fit.text, paintFont).height();
        if (m_layout == tlCenter)
            room /= 2;
        box.translate(0, std::max(room, 0)); // a text taller than the label starts at its top
    }
    const int flags = textFlags();
    if (m_shadow > 0) {
        painter.setPen(m_shadowColor);
        painter.drawText(box.translated(m_shadow, m_shadow), flags, fit.text);
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(box, flags, fit.text);
}
