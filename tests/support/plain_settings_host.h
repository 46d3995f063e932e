#pragma once
// The palette and the print dialog as plain values, for settings tests that need no
// widgets: doubles keep every bit, the palette has a fixed outer size on a 1920 x 1080 screen.

#include "app/settings.h"

#include <QPoint>
#include <QSize>
#include <array>
#include <cstddef>

class PlainSettingsHost : public SettingsHost {
public:
    double printValue(PrintField field) const override { return print[std::size_t(field)]; }
    void setPrintValue(PrintField field, double value) override {
        print[std::size_t(field)] = value;
    }
    bool seitRatio() const override { return ratio; }
    void setSeitRatio(bool checked) override { ratio = checked; }
    QPoint palettePosition() const override { return position; }
    QSize paletteOuterSize() const override { return {60, 50}; }
    void movePalette(QPoint topLeft) override { position = topLeft; }
    QRect primaryScreen() const override { return screen; }

    std::array<double, 4> print{2.5, 1.8, 16.0, 17.0};
    bool ratio = true;
    QPoint position{1860, 0};
    QRect screen{0, 0, 1920, 1080};
};
