#pragma once
// Small helpers of the program's frame: a wait that keeps the windows alive, and integer
// minimum, maximum and the sign of a number.

#include <cstdint>
#include <functional>

// A clock in milliseconds that wraps at 2^32; SystemTickCount is the steady clock.
using TickSource = std::function<std::uint32_t()>;
std::uint32_t SystemTickCount();

// Waits `milliseconds` while the program's events are processed: at least once, then until
// the clock is no longer below start + milliseconds (unsigned, so a target that wraps past
// 2^32 ends the wait after the first pass).
void Delay(std::uint32_t milliseconds, const TickSource& tick = SystemTickCount);

inline std::int32_t Min(std::int32_t a, std::int32_t b) {
    return a < b ? a : b;
}
inline std::int32_t Max(std::int32_t a, std::int32_t b) {
    return a > b ? a : b;
}
inline int Sign(double value) {
    return value > 0 ? 1 : value < 0 ? -1 : 0;
}
