#include "controls/program_icon.h"

#include <QPainter>
#include <QPainterPath>

QPixmap ProgramIconPixmap(int size) {
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    // The screen: a dark frame around a light-blue picture.
    p.setPen(QPen(QColor(0x20, 0x2a, 0x44), 3));
    p.setBrush(QColor(0xd8, 0xe8, 0xff));
    p.drawRoundedRect(QRectF(4, 8, 50, 38), 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x2a, 0x44));
    p.drawRect(QRectF(24, 46, 10, 6));
    p.drawRoundedRect(QRectF(16, 51, 26, 4), 2, 2);

    // A yellow marker stroke across the picture and a red circle drawn on it.
    p.setPen(QPen(QColor(0xff, 0xe0, 0x20, 0xd0), 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 36), QPointF(38, 30));
    p.setPen(QPen(QColor(0xe0, 0x20, 0x20), 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(12, 14, 22, 14));

    // The pen, leaning on the screen's right edge.
    QPainterPath pen;
    pen.moveTo(60, 14);
    pen.lineTo(64, 18);
    pen.lineTo(40, 42);
    pen.lineTo(34, 44);
    pen.lineTo(36, 38);
    pen.closeSubpath();
    p.setPen(QPen(QColor(0x20, 0x2a, 0x44), 1.5));
    p.setBrush(QColor(0x30, 0x70, 0xd0));
    p.drawPath(pen);
    p.end();
    return QPixmap::fromImage(picture);
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(ProgramIconPixmap(size));
    return icon;
}
