#pragma once
// Groups the internal tool codes by how they react to input, so the engine dispatches once.

#include "surface/drawing_state.h"

enum class ToolFamily { None, Pen, Eraser, Shape, Stamp, Text };

// The five two-point shapes share one implementation with the figure as a parameter.
enum class ShapeFigure { Line, Arrow, DoubleArrow, Rectangle, Ellipse };
enum class StampKind { Check, Cross };

struct ToolKind {
    ToolFamily family = ToolFamily::None;
    ShapeFigure shape = ShapeFigure::Line;
    StampKind stamp = StampKind::Check;
};

constexpr ToolKind toolKindOf(int tool) {
    switch (tool) {
    case ToolPen:
        return {ToolFamily::Pen};
    case ToolEraser:
        return {ToolFamily::Eraser};
    case ToolLine:
        return {ToolFamily::Shape, ShapeFigure::Line};
    case ToolArrow:
        return {ToolFamily::Shape, ShapeFigure::Arrow};
    case ToolDoubleArrow:
        return {ToolFamily::Shape, ShapeFigure::DoubleArrow};
    case ToolRectangle:
        return {ToolFamily::Shape, ShapeFigure::Rectangle};
    case ToolEllipse:
        return {ToolFamily::Shape, ShapeFigure::Ellipse};
    case ToolCheck:
        return {ToolFamily::Stamp, ShapeFigure::Line, StampKind::Check};
    case ToolCross:
        return {ToolFamily::Stamp, ShapeFigure::Line, StampKind::Cross};
    case ToolText:
        return {ToolFamily::Text};
    default:
        return {};
    }
}
