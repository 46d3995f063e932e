#include "controls/button_kind.h"

#include "controls/modal.h"

#include <QPainter>
#include <QPainterPath>
#include <array>
#include <functional>

namespace {

constexpr int kFrame = 18;          // width and height of a frame
constexpr int kAllFrameHeight = 19; // bkAll's picture is a row taller

// The sixteen colours of the classic palette; every kind picture uses only these.
const QList<QRgb>& sixteenColours() {
    static const QList<QRgb> colours = {
        0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
        0xFF008080, 0xFFC0C0C0, 0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
        0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
    };
    return colours;
}

const QRgb kOlive = 0xFF808000, kWhite = 0xFFFFFFFF, kGrey = 0xFF808080;

QPen hardPen(QRgb colour, int width) {
    return QPen(QColor::fromRgb(colour), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

void drawCheck(QPainter& p, QRgb colour, int dx) {
    p.setPen(hardPen(colour, 3));
    p.drawPolyline(QPolygon({QPoint(3 + dx, 9), QPoint(7 + dx, 13), QPoint(14 + dx, 4)}));
}

void drawCross(QPainter& p, QRgb colour) {
    p.setPen(hardPen(colour, 3));
    p.drawLine(4, 4, 13, 13);
    p.drawLine(13, 4, 4, 13);
}

void drawFace(TBitBtnKind kind, QPainter& p) {
    switch (kind) {
    case bkOK:
        drawCheck(p, 0xFF008000, 0);
        break;
    case bkYes:
        drawCheck(p, 0xFF008000, 0);
        p.setPen(hardPen(0xFF00FF00, 1));
        p.drawPolyline(QPolygon({QPoint(3, 9), QPoint(7, 13), QPoint(14, 4)}));
        break;
    case bkCancel:
        drawCross(p, 0xFFFF0000);
        break;
    case bkNo:
        p.setPen(hardPen(0xFFFF0000, 2));
        p.drawEllipse(QRect(3, 3, 11, 11));
        p.drawLine(5, 12, 12, 5);
        break;
    case bkHelp: {
        p.setPen(hardPen(0xFF000080, 2));
        p.drawArc(QRect(5, 2, 8, 7), 180 * 16, -230 * 16);
        p.drawLine(9, 9, 9, 11);
        p.fillRect(QRect(8, 13, 2, 2), QColor::fromRgb(0xFF000080));
        break;
    }
    case bkClose:
        p.fillRect(QRect(4, 2, 9, 14), QColor::fromRgb(0xFF008080));
        p.setPen(hardPen(0xFF000000, 1));
        p.drawRect(QRect(4, 2, 8, 13));
        p.fillRect(QRect(10, 8, 1, 2), QColor::fromRgb(0xFFFFFF00));
        break;
    case bkAbort:
        p.setBrush(QColor::fromRgb(0xFFFF0000));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygon({QPoint(6, 2), QPoint(11, 2), QPoint(15, 6), QPoint(15, 11),
                                QPoint(11, 15), QPoint(6, 15), QPoint(2, 11), QPoint(2, 6)}));
        p.fillRect(QRect(5, 8, 8, 2), QColor::fromRgb(kWhite));
        break;
    case bkRetry:
        p.setPen(hardPen(0xFF008000, 2));
        p.drawArc(QRect(3, 3, 11, 11), 90 * 16, 270 * 16);
        p.setBrush(QColor::fromRgb(0xFF008000));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygon({QPoint(8, 0), QPoint(12, 3), QPoint(8, 6)}));
        break;
    case bkIgnore:
        p.setPen(hardPen(0xFF000080, 2));
        p.drawLine(2, 13, 15, 13);
        p.drawArc(QRect(3, 4, 10, 12), 0, 180 * 16);
        p.setBrush(QColor::fromRgb(0xFF000080));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygon({QPoint(10, 9), QPoint(16, 9), QPoint(13, 13)}));
        break;
    case bkAll:
        drawCheck(p, 0xFF008000, -1);
        drawCheck(p, 0xFF00FF00, 2);
        break;
    case bkCustom:
        break;
    }
}

// The disabled frame: the normal frame's shape engraved, white one pixel right and down
// under grey.
void engrave(QImage& picture, int frameHeight) {
    for (int y = frameHeight - 1; y >= 0; --y)
        for (int x = kFrame - 1; x >= 0; --x) {
            if (picture.pixel(x, y) == kOlive)
                continue;
            picture.setPixel(kFrame + x, y, kGrey);
            if (x + 1 < kFrame && y + 1 < frameHeight && picture.pixel(x + 1, y + 1) == kOlive &&
                picture.pixel(kFrame + x + 1, y + 1) == kOlive)
                picture.setPixel(kFrame + x + 1, y + 1, kWhite);
        }
}

QImage drawKind(TBitBtnKind kind) {
    const int height = kind == bkAll ? kAllFrameHeight : kFrame;
    QImage picture(2 * kFrame, height, QImage::Format_RGB32);
    picture.fill(kOlive);
    {
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setClipRect(0, 0, kFrame, height);
        drawFace(kind, p);
    }
    engrave(picture, height);
    return picture.convertToFormat(QImage::Format_Indexed8, sixteenColours(), Qt::ThresholdDither);
}

} // namespace

KindSetup KindSetupOf(TBitBtnKind kind) {
    switch (kind) {
    case bkOK:
        return {true, false, kModalOk};
    case bkCancel:
        return {false, true, kModalCancel};
    case bkYes:
        return {true, false, kModalYes};
    case bkNo:
        return {false, true, kModalNo};
    case bkAbort:
        return {false, false, kModalAbort};
    case bkRetry:
        return {false, false, kModalRetry};
    case bkIgnore:
        return {false, false, kModalIgnore};
    case bkAll:
        return {false, false, kModalAll};
    case bkHelp:
    case bkClose:
    case bkCustom:
        break;
    }
    return {false, false, 0};
}

const QImage& KindPicture(TBitBtnKind kind) {
    static std::array<QImage, bkAll + 1> pictures;
    QImage& picture = pictures[kind];
    if (picture.isNull() && kind != bkCustom)
        picture = drawKind(kind);
    return picture;
}
