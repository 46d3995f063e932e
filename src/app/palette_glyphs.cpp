#include "app/palette_glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kPlain[4] = {QColor(255, 0, 0), QColor(255, 255, 0), QColor(0, 255, 0),
                          QColor(0, 0, 255)};

void drawPlainColour(QPainter& p, int colour) {
    p.fillRect(QRectF(0, 0, kGlyphSize, kGlyphSize), kPlain[colour]);
}

// Transparent colours: the colour shaded darker toward the lower right.
void drawShadedColour(QPainter& p, int colour) {
    QLinearGradient shade(0, 0, kGlyphSize, kGlyphSize);
    shade.setColorAt(0, kPlain[colour]);
    shade.setColorAt(1, kPlain[colour].darker(190));
    p.fillRect(QRectF(0, 0, kGlyphSize, kGlyphSize), shade);
}

void drawWidth(QPainter& p, int side) {
    qreal offset = (kGlyphSize - side) / 2.0;
    p.fillRect(QRectF(offset, offset, side, side), Qt::black);
}

QPen outline(const QColor& colour, qreal width = 1.2) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawArrowHead(QPainter& p, QPointF tip, QPointF from) {
    QLineF shaft(tip, from);
    QLineF left = shaft, right = shaft;
    left.setLength(5.5);
    right.setLength(5.5);
    left.setAngle(shaft.angle() + 30);
    right.setAngle(shaft.angle() - 30);
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(left.p2());
    head.lineTo(right.p2());
    head.closeSubpath();
    p.fillPath(head, p.pen().color());
}

void drawGlyph(QPainter& p, int index) {
    const QColor ink(30, 30, 30);
    switch (index) {
    case 0:
    case 1:
    case 2:
    case 3:
        drawPlainColour(p, index);
        break;
    case 4:
    case 5:
    case 6:
    case 7:
        drawShadedColour(p, index - 4);
        break;
    case 8:
        drawWidth(p, 2);
        break;
    case 9:
        drawWidth(p, 4);
        break;
    case 10:
        drawWidth(p, 8);
        break;
    case 11:
        drawWidth(p, 14);
        break;
    case 12: // copy to clipboard: two overlapping pages
        p.setPen(outline(ink, 1));
        p.setBrush(QColor(235, 235, 235));
        p.drawRect(QRectF(2.5, 2.5, 9, 11));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 5.5, 9, 11));
        p.drawLine(QPointF(8.5, 9), QPointF(13.5, 9));
        p.drawLine(QPointF(8.5, 11.5), QPointF(13.5, 11.5));
        p.drawLine(QPointF(8.5, 14), QPointF(12, 14));
        break;
    case 13: // save: a diskette
        p.setPen(outline(QColor(20, 40, 90), 1));
        p.setBrush(QColor(60, 90, 170));
        p.drawRect(QRectF(2.5, 2.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, 2.5, 8, 5));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(5, 10, 8, 5.5));
        break;
    case 14: // clear all: a waste bin
        p.setPen(outline(ink, 1));
        p.setBrush(QColor(190, 190, 190));
        p.drawRect(QRectF(4.5, 5.5, 9, 10));
        p.drawLine(QPointF(3, 4), QPointF(15, 4));
        p.drawLine(QPointF(7.5, 2.5), QPointF(10.5, 2.5));
        p.drawLine(QPointF(7, 8), QPointF(7, 13.5));
        p.drawLine(QPointF(9, 8), QPointF(9, 13.5));
        p.drawLine(QPointF(11, 8), QPointF(11, 13.5));
        break;
    case 15: { // eraser: a tilted block, pink end
        p.setPen(outline(ink, 1));
        QPolygonF body({QPointF(2, 12), QPointF(9, 4), QPointF(16, 9), QPointF(9, 16)});
        p.setBrush(QColor(120, 160, 230));
        p.drawPolygon(body);
        QPolygonF tip({QPointF(2, 12), QPointF(5.5, 8), QPointF(12.5, 13), QPointF(9, 16)});
        p.setBrush(QColor(245, 170, 190));
        p.drawPolygon(tip);
        break;
    }
    case 16: { // undo: an arrow curving back to the lower left
        p.setPen(outline(QColor(20, 90, 30), 2));
        QPainterPath bend;
        bend.moveTo(15, 14);
        bend.cubicTo(15, 4, 6, 3, 5, 11);
        p.setBrush(Qt::NoBrush);
        p.drawPath(bend);
        p.setPen(outline(QColor(20, 90, 30), 1));
        drawArrowHead(p, QPointF(4.5, 15), QPointF(5.2, 9));
        break;
    }
    case 17: { // pen: a freehand wave
        p.setPen(outline(QColor(200, 0, 0), 2));
        QPainterPath wave;
        wave.moveTo(2, 12);
        wave.cubicTo(5, 2, 8, 2, 9, 9);
        wave.cubicTo(10, 16, 14, 15, 16, 6);
        p.drawPath(wave);
        break;
    }
    case 18: // line: a diagonal
        p.setPen(outline(ink, 2));
        p.drawLine(QPointF(3, 15), QPointF(15, 3));
        break;
    case 19: // rectangle outline
        p.setPen(outline(ink, 1.6));
        p.drawRect(QRectF(3, 4.5, 12, 9));
        break;
    case 20: // arrow pointing right
        p.setPen(outline(ink, 2));
        p.drawLine(QPointF(2, 9), QPointF(12, 9));
        p.setPen(outline(ink, 1));
        drawArrowHead(p, QPointF(16.5, 9), QPointF(2, 9));
        break;
    case 21: // print: a printer
        p.setPen(outline(ink, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 2.5, 7, 5));
        p.setBrush(QColor(150, 150, 150));
        p.drawRoundedRect(QRectF(2.5, 7.5, 13, 6), 1, 1);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 11.5, 7, 4));
        p.fillRect(QRectF(12.5, 9, 1.5, 1.5), QColor(0, 180, 0));
        break;
    case 22: { // info: a white letter i in a blue disc
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 80, 200));
        p.drawEllipse(QRectF(1, 1, 16, 16));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(7.8, 3.5, 2.4, 2.4));
        p.drawRect(QRectF(7.9, 7.2, 2.2, 7.3));
        break;
    }
    case 23: { // text: the letter A
        QFont font("Liberation Serif");
        font.setPixelSize(16);
        font.setBold(true);
        p.setFont(font);
        p.setPen(ink);
        p.drawText(QRectF(0, 0, kGlyphSize, kGlyphSize), Qt::AlignCenter, "A");
        break;
    }
    case 24: { // check mark, green
        p.setPen(outline(QColor(0, 160, 0), 2.6));
        QPolygonF tick({QPointF(3, 9.5), QPointF(7, 14), QPointF(15, 3.5)});
        p.drawPolyline(tick);
        break;
    }
    case 25: // cross, red
        p.setPen(outline(QColor(210, 0, 0), 2.6));
        p.drawLine(QPointF(4, 4), QPointF(14, 14));
        p.drawLine(QPointF(4, 14), QPointF(14, 4));
        break;
    case 26: // double arrow, horizontal
        p.setPen(outline(ink, 2));
        p.drawLine(QPointF(5, 9), QPointF(13, 9));
        p.setPen(outline(ink, 1));
        drawArrowHead(p, QPointF(16.5, 9), QPointF(2, 9));
        drawArrowHead(p, QPointF(1.5, 9), QPointF(16, 9));
        break;
    case 27: // ellipse outline
        p.setPen(outline(ink, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(2, 4, 14, 10));
        break;
    default:
        break;
    }
}

} // namespace

QPixmap PaletteGlyphPixmap(int index, qreal devicePixelRatio) {
    int side = qRound(kGlyphSize * devicePixelRatio);
    QPixmap pixmap(side, side);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    // The colour and width glyphs are pixel-exact fills; the drawings are smoothed.
    painter.setRenderHint(QPainter::Antialiasing, index >= 12);
    drawGlyph(painter, index);
    return pixmap;
}

QIcon PaletteGlyph(int index) {
    QIcon icon;
    icon.addPixmap(PaletteGlyphPixmap(index, 1.0));
    icon.addPixmap(PaletteGlyphPixmap(index, 2.0));
    return icon;
}

const QIcon& PaletteGlyphIcons::icon(int index) {
    QIcon& icon = icons_.at(index);
    if (icon.isNull())
        icon = PaletteGlyph(index);
    return icon;
}
