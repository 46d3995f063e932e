#include "app/drawing_choices.h"

#include <algorithm>

const std::array<WidthChoice, 4> kWidthChoices = {{
    {1, 3, "Dicke1Btn", "Dicke1", 8, "Ctrl+1", "Strichdicke 1", "Taille du crayon 1"},
    {2, 7, "Dicke2Btn", "Dicke2", 9, "Ctrl+2", "Strichdicke 2", "Taille du crayon 2"},
    {3, 13, "Dicke3Btn", "Dicke3", 10, "Ctrl+3", "Strichdicke 3", "Taille du crayon 3"},
    {4, 21, "Dicke4Btn", "Dicke4", 11, "Ctrl+4", "Strichdicke 4", "Taille du crayon 4"},
}};

const std::array<ColourChoice, 8> kColourChoices = {{
    {1, 0x0000FF, PenMix::pmMask, "MarkCol1Btn", "MarkCol1", 4, "Alt+1", "transparentes rot",
     "Transparentes rot", "Rouge transparent"},
    {2, 0x00FFFF, PenMix::pmMask, "MarkCol2Btn", "MarkCol2", 5, "Alt+2", "transparentes gelb",
     "Transparentes gelb", "Jaune transparent"},
    {3, 0x00FF00, PenMix::pmMask, "MarkCol3Btn", "MarkCol3", 6, "Alt+3", "transparentes grün",
     "Transparentes grün", "Vert transparent"},
    {5, 0xFF0000, PenMix::pmMask, "MarkCol5Btn", "MarkCol5", 7, "Alt+4", "transparentes blau",
     "Transparentes blau", "Bleu transparent"},
    {11, 0x0000FF, PenMix::pmCopy, "DeckCol1Btn", "DeckCol1", 0, "Alt+Shift+1", "deckendes rot",
     "Deckendes rot", "Rouge opaque"},
    {12, 0x00FFFF, PenMix::pmCopy, "DeckCol2Btn", "DeckCol2", 1, "Alt+Shift+2", "deckendes gelb",
     "Deckendes gelb", "Jaune opaque"},
    {13, 0x00FF00, PenMix::pmCopy, "DeckCol3Btn", "DeckCol3", 2, "Alt+Shift+3", "deckendes grün",
     "Deckendes grün", "Vert opaque"},
    {15, 0xFF0000, PenMix::pmCopy, "DeckCol5Btn", "DeckCol5", 3, "Alt+Shift+4", "deckendes blau",
     "Deckendes blau", "Bleu opaque"},
}};

const std::array<ToolChoice, 10> kToolChoices = {{
    {1, ToolPen, "StiftBtn", "Stift1", 17, "Alt+S", "Zeichenstift", "Stift", "Crayon"},
    {2, ToolEraser, "SchwammBtn", "Radiergummi1", 15, "Alt+G", "Radiergummi", "Radiergummi",
     "Gommer"},
    {3, ToolLine, "LinieBtn", "Linie1", 18, "Alt+L", "Linie", "Linie", "Segment"},
    {4, ToolArrow, "PfeilBtn", "Pfeil1", 20, "Alt+P", "Pfeil", "Pfeil", "Flèche"},
    {5, ToolRectangle, "RechteckBtn", "Rechteck1", 19, "Alt+R", "Rechteck", "Rechteck",
     "Rectangle"},
    {6, ToolDoubleArrow, "DoppelpfeilBtn", "DoppelPfeil1", 26, "Alt+D", "Doppelpfeil",
     "Doppelpfeil", "Doucle-flèche"},
    {7, ToolEllipse, "EllipseBtn", "Ellipse1", 27, "Alt+E", "Ellipse", "Ellipse", "Ellipse"},
    {8, ToolText, "TextBtn", "Text1", 23, "Alt+T", "Text", "Text", "Texte"},
    {9, ToolCheck, "HaekchenBtn", "Haekchen1", 24, "Alt+H", "Häkchen", "Häkchen", "Coche"},
    {10, ToolCross, "KreuzBtn", "Kreuz1", 25, "Alt+K", "Kreuz", "Kreuz", "Croix"},
}};

const std::array<int, 10> kToolMenuOrder = {1, 2, 3, 4, 6, 5, 7, 8, 9, 10};

template <typename Table>
static const typename Table::value_type* byCode(const Table& table, int code) {
    auto found =
        std::find_if(table.begin(), table.end(), [&](const auto& c) { return c.code == code; });
    return found == table.end() ? nullptr : &*found;
}

const WidthChoice* widthByCode(int code) {
    return byCode(kWidthChoices, code);
}
const ColourChoice* colourByCode(int code) {
    return byCode(kColourChoices, code);
}
const ToolChoice* toolByCode(int code) {
    return byCode(kToolChoices, code);
}
