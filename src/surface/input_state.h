#pragma once
// What a mouse or key event tells the engine about the keyboard and the buttons.

enum class MouseButton { Left, Right, Middle };

// The shift state of one event: the Shift key and the two mouse buttons.
struct ShiftState {
    bool shift = false;
    bool left = false;
    bool right = false;
};
