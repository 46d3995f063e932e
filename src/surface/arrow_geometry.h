#pragma once
// The two barbs of an arrow head as end points; each barb is a line from the tip to its end.

#include <QPoint>

struct ArrowBarbs {
    QPoint first;  // turned by -20 degrees
    QPoint second; // turned by +20 degrees
};

// Barbs of an arrow from (x1, y1) to the tip (x2, y2), of head length `length`.
ArrowBarbs arrowBarbs(int x1, int y1, int x2, int y2, int length);
