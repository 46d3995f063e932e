#pragma once
// The palette's three choice groups: the stored codes, what each choice puts into the
// drawing state, and the button, menu item, glyph, shortcut and texts that show it.

#include "surface/drawing_state.h"

#include <QString>
#include <array>

struct WidthChoice {
    int code;     // StiftdickeMode
    int penWidth; // pixels
    const char* button;
    const char* menuItem;
    int glyph;
    const char* shortcut;
    const char* designHint;
    const char* runTimeHint;
};

struct ColourChoice {
    int code; // FarbMode
    COLORREF colour;
    PenMix mode;
    const char* button;
    const char* menuItem;
    int glyph;
    const char* shortcut;
    const char* designHint;
    const char* designMenuText;
    const char* runTimeText; // hint and menu text
};

struct ToolChoice {
    int code; // WerkzeugMode: the order of the buttons on the palette
    int tool; // internal code the engine reads
    const char* button;
    const char* menuItem;
    int glyph;
    const char* shortcut;
    const char* designHint;
    const char* designMenuText;
    const char* runTimeText;
};

extern const std::array<WidthChoice, 4> kWidthChoices;
extern const std::array<ColourChoice, 8> kColourChoices;
extern const std::array<ToolChoice, 10> kToolChoices; // in palette order

// Lookups by stored code; nullptr for a code outside the table.
const WidthChoice* widthByCode(int code);
const ColourChoice* colourByCode(int code);
const ToolChoice* toolByCode(int code);

// The menu lists the tools in another order: double arrow before rectangle.
extern const std::array<int, 10> kToolMenuOrder; // stored codes
