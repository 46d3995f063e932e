#include "surface/widget/text_box_edit.h"

#include "raster/fonts.h"
#include "surface/widget/device_pixels.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <cmath>

namespace {
// The hint shown as the box's tooltip.
const char* const kEdit1Hint = "Text übernehmen mit Enter, abbrechen mit ESC";
const QColor kSilver(192, 192, 192);
// QLineEdit draws its text this many pixels inside the edge when it has no frame.
constexpr int kLineEditHorizontalMargin = 2;
} // namespace

int edit1InnerMargin() {
    return kLineEditHorizontalMargin;
}

QLineEdit* createEdit1(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName("Edit1");
    edit->setFrame(false);
    edit->setAutoFillBackground(true);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, kSilver);
    palette.setColor(QPalette::Window, kSilver);
    edit->setPalette(palette);
    edit->setToolTip(QString::fromUtf8(kEdit1Hint));
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    edit->hide();
    return edit;
}

QRect edit1Geometry(const TextBox& box, qreal ratio, int innerMargin) {
    QRect logical = logicalRectOf(
        QRect(box.left, box.top, std::max(box.width, 1), std::max(box.height, 1)), ratio);
    return logical.adjusted(-innerMargin, 0, 0, 0);
}

void mirrorTextBox(QLineEdit& edit, const TextBox& box, qreal ratio) {
    // The picture's font is in device pixels; the edit's in logical pixels.
    const int pixelSize =
        std::max(1, static_cast<int>(std::lround(raster::pixelSizeOf(box.fontPoints) / ratio)));
    // The box is mirrored on every step of a held move; looking the family up again each time
    // would ask the system's font configuration for the same answer.
    if (!edit.testAttribute(Qt::WA_SetFont) || edit.font().pixelSize() != pixelSize) {
        QFont qfont = raster::qfontOf({QStringLiteral("Arial"), box.fontPoints, true, box.colour});
        qfont.setPixelSize(pixelSize);
        edit.setFont(qfont);
    }
    QPalette palette = edit.palette();
    palette.setColor(QPalette::Text, qcolorOf(box.colour));
    edit.setPalette(palette);
    if (edit.text() != box.text) {
        QSignalBlocker quiet(&edit);
        edit.setText(box.text);
    }
    edit.setGeometry(edit1Geometry(box, ratio, edit1InnerMargin()));
    edit.setVisible(box.open);
}
