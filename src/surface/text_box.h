#pragma once
// The text tool's box as the engine sees it: where it floats over the picture, its size,
// font and text. The widget mirrors it into its line edit; sizes are picture pixels.

#include "raster/colorref.h"

#include <QRect>
#include <QString>

struct TextBox {
    bool open = false; // shown over the picture, taking the typed keys
    QString text;
    int left = 0; // the box's lower-left corner sits at the click point
    int top = 0;
    int width = 0;      // text width of text + "xx"
    int height = 0;     // text height of "X"
    int fontPoints = 0; // "Arial" bold
    COLORREF colour = 0;

    QRect rect() const { return QRect(left, top, width, height); }
};
