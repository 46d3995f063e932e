#pragma once
// The characters of the two keys the text box answers: Enter writes the text into the
// picture, Esc drops it.

constexpr int kEnterKey = 13;
constexpr int kEscapeKey = 27;
