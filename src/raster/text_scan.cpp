#include "raster/text_scan.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>

namespace raster {

int textWidth(const Font& font, const QString& text) {
    return textWidth(resolvedFont(font), text);
}

int textHeight(const Font& font, const QString&) {
    return textHeight(resolvedFont(font));
}

int textWidth(const ResolvedFont& font, const QString& text) {
    return QFontMetrics(font.qfont).horizontalAdvance(renderedText(font, text));
}

int textHeight(const ResolvedFont& font) {
    // The cell height, like GDI's text extent: the same for every text of a font.
    const QFontMetrics metrics(font.qfont);
    return metrics.ascent() + metrics.descent();
}

void scanText(SpanSink& sink, const ResolvedFont& font, int left, int top, const QString& text) {
    const QString shown = renderedText(font, text);
    if (shown.isEmpty() || sink.clip().isEmpty())
        return;
    const QFont& qfont = font.qfont;
    const QFontMetrics metrics(qfont);
    // Ink may stick out of the cell (overhangs, accents); take both, with a margin.
    QRect ink = metrics.boundingRect(shown).united(
        QRect(0, -metrics.ascent(), metrics.horizontalAdvance(shown), metrics.height()));
    ink.adjust(-2, -2, 2, 2);
    const std::int64_t baseX = left, baseY = std::int64_t(top) + metrics.ascent();
    const Rect clip = sink.clip();
    const std::int64_t x0 = std::max<std::int64_t>(baseX + ink.left(), clip.left);
    const std::int64_t y0 = std::max<std::int64_t>(baseY + ink.top(), clip.top);
    const std::int64_t x1 = std::min<std::int64_t>(baseX + ink.right() + 1, clip.right);
    const std::int64_t y1 = std::min<std::int64_t>(baseY + ink.bottom() + 1, clip.bottom);
    if (x0 >= x1 || y0 >= y1)
        return;

    // Only the visible part of the text is rendered.
    QImage coverage(int(x1 - x0), int(y1 - y0), QImage::Format_ARGB32_Premultiplied);
    coverage.fill(Qt::transparent);
    {
        QPainter painter(&coverage);
        painter.setFont(qfont);
        painter.setPen(Qt::white);
        painter.drawText(QPointF(double(baseX - x0), double(baseY - y0)), shown);
    }
    for (int row = 0; row < coverage.height(); ++row) {
        const auto* pixel = reinterpret_cast<const QRgb*>(coverage.constScanLine(row));
        int x = 0;
        while (x < coverage.width()) {
            while (x < coverage.width() && qAlpha(pixel[x]) < 128)
                ++x;
            const int start = x;
            while (x < coverage.width() && qAlpha(pixel[x]) >= 128)
                ++x;
            if (x > start)
                sink.add(y0 + row, x0 + start, x0 + x);
        }
    }
}

} // namespace raster
