#pragma once
// The look the program's dialogs share: black text in an 11-pixel "Arial", and bitmap buttons
// with a flat face, no caption shadow and a black selection colour.

#include <QRect>
#include <QString>

class QWidget;
class TBitBtn2;

void UseDialogLook(QWidget& dialog);

TBitBtn2* MakeDialogButton(QWidget* parent, const QString& caption, const QRect& geometry);
