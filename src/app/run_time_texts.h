#pragma once
// The windows are built with German design texts; at the palette's first activation
// ApplyRunTimeTexts writes the French texts over them, once, whatever the system's language.

#include <QString>
#include <functional>

class TToolForm;
class TInfoBox;
class TEinstellungenForm;
class SaveCommand;

struct RunTimeTextTargets {
    TToolForm* palette = nullptr;
    TInfoBox* infoBox = nullptr;
    TEinstellungenForm* settingsDialog = nullptr;
    std::function<void()> printDialog; // sets the print dialog's texts
    SaveCommand* save = nullptr;
};

void ApplyRunTimeTexts(const RunTimeTextTargets& targets);
