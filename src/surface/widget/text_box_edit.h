#pragma once
// Edit1: the line edit that shows the engine's text box over the picture.

#include "surface/text_box.h"

#include <QRect>

class QLineEdit;
class QWidget;

// A hidden, borderless, flat line edit on silver, with the hint as its tooltip.
QLineEdit* createEdit1(QWidget* parent);

// Where the line edit goes, in logical pixels, so that its text starts where the committed
// text will be written: the edit draws its text `innerMargin` pixels inside its left edge,
// so it moves that far left and grows by as much.
QRect edit1Geometry(const TextBox& box, qreal ratio, int innerMargin);

// The line edit's left inner text margin (logical pixels).
int edit1InnerMargin();

// Makes the line edit show the box: font, colour, text, place and visibility.
void mirrorTextBox(QLineEdit& edit, const TextBox& box, qreal ratio);
