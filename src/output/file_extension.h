#pragma once
// The format of a saved picture is chosen by its file name's extension alone.

#include <QString>

// The text from the last "." of the name to its end, when that "." stands after the last
// "\", "/" and ":"; otherwise empty. Lower-cased with the locale's rules, so "notes.PNG"
// gives ".png" and "a." gives ".".
QString lowerCaseExtension(const QString& fileName);

// Whether the Save command writes a file of this name: ".png", ".jpg" and ".bmp" only.
bool isSaveableExtension(const QString& extension);
