#pragma once
// Rounding to the nearest integer with halves going to the even neighbour, as every pixel
// size derived from the pen width uses it.

#include <cmath>

inline int nearest(double value) {
    return static_cast<int>(std::nearbyint(value));
}
