#pragma once
// The Shift constraints of the shape tools, as pure functions of the anchor and the pointer.

#include <QPoint>

// Line, arrow, double arrow: snaps the end to 0, 45 or 90 degrees from the anchor. The
// diagonal wins within 18 degrees of 45; otherwise the longer axis wins, a tie is horizontal.
QPoint constrainToAxisOrDiagonal(QPoint anchor, QPoint pointer);

// Rectangle, ellipse: the largest square on the pointer's side of the anchor.
QPoint constrainToSquare(QPoint anchor, QPoint pointer);
