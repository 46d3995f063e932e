#pragma once
// The Start/Finish button's captions and hints, indexed by the palette state (0 Start,
// 1 Finish). They hold the design texts until the run-time texts replace them.

#include <QString>
#include <array>

extern std::array<QString, 2> CaptionTable;
extern std::array<QString, 2> HintTable;

// Puts the design texts back (the state before the first activation).
void ResetStartTexts();
// The French texts shown from the palette's first activation on.
void SetRunTimeStartTexts();
