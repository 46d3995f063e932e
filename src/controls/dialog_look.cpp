#include "controls/dialog_look.h"

#include "controls/bit_button.h"
#include "controls/font_points.h"

#include <QPalette>

void UseDialogLook(QWidget& dialog) {
    dialog.setFont(PixelFont(QStringLiteral("Arial"), 11)); // 8 points at 96 dpi
    QPalette black = dialog.palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        black.setColor(role, Qt::black);
    dialog.setPalette(black);
}

TBitBtn2* MakeDialogButton(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* button = new TBitBtn2(parent);
    button->setText(caption);
    button->setGeometry(geometry);
    button->setStyle3D(1);
    button->setShadow(0);
    button->setSelColor(Qt::black);
    return button;
}
