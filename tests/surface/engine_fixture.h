#pragma once
// A drawing phase on a small, odd-sized, noisy capture, with helpers that play mouse input
// and draw the expected figures with the rasterizer on a copy of the capture.

#include "raster/canvas.h"
#include "support/picture_diff.h"
#include "surface/drawing_surface.h"
#include "surface/figures.h"
#include "surface/tool_sizes.h"

#include <QImage>
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <initializer_list>

class EngineTest : public testing::Test {
protected:
    static QImage noisyCapture(int width, int height, quint32 seed = 7) {
        QImage picture(width, height, QImage::Format_RGB32);
        QRandomGenerator random(seed);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                picture.setPixel(x, y, 0xFF000000u | (random.generate() & 0xFFFFFF));
        return picture;
    }

    void SetUp() override {
        state.Tool = ToolLine;
        state.PenColour = rgbColour(255, 0, 0);
        state.PenMode = PenMix::pmCopy;
        state.PenWidth = 3;
        start(noisyCapture(61, 47));
    }

    void start(const QImage& picture) {
        capture = picture;
        surface.StartPhase(capture);
    }

    void choose(int tool) {
        surface.ParkToolSymbol();
        surface.ResetPointForToolChoice(tool);
        state.Tool = tool;
    }

    void hover(int x, int y) { surface.MouseMove({}, {x, y}); }
    void press(int x, int y, bool shift = false) {
        surface.MouseDown(MouseButton::Left, {.shift = shift, .left = true}, {x, y});
    }
    void drag(int x, int y, bool shift = false) {
        surface.MouseMove({.shift = shift, .left = true}, {x, y});
    }
    void release(int x, int y, bool shift = false) {
        surface.MouseUp(MouseButton::Left, {.shift = shift}, {x, y});
    }
    // A whole left click-drag-release with the pointer hovering before and after.
    void stroke(QPoint from, QPoint to) {
        hover(from.x(), from.y());
        press(from.x(), from.y());
        drag((from.x() + to.x()) / 2, (from.y() + to.y()) / 2);
        drag(to.x(), to.y());
        release(to.x(), to.y());
        hover(to.x(), to.y());
    }

    // The capture with `draw` applied by the rasterizer.
    template <class Draw> QImage expected(Draw draw, const QImage* base = nullptr) {
        QImage picture = base ? base->copy() : capture.copy();
        raster::Canvas canvas(picture);
        draw(canvas);
        return picture;
    }

    // The pixels of `area` that differ from the capture as ASCII art, '#' changed.
    QString changedArt(const QImage& picture, const QRect& area) const {
        QString art;
        for (int y = area.top(); y <= area.bottom(); ++y, art += '\n')
            for (int x = area.left(); x <= area.right(); ++x)
                art += picture.pixel(x, y) == capture.pixel(x, y) ? '.' : '#';
        return art;
    }
    static QString changedArt(std::initializer_list<const char*> rows) {
        QString art;
        for (const char* row : rows)
            art += QString::fromLatin1(row) + '\n';
        return art;
    }
    // The box of the pixels that differ from the capture.
    QRect changedPixels(const QImage& picture) const {
        QRect box;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (picture.pixel(x, y) != capture.pixel(x, y))
                    box |= QRect(x, y, 1, 1);
        return box;
    }
    // Whether every pixel that differs from the capture is `made(captured pixel)`.
    template <class Made>
    testing::AssertionResult everyChangedPixelIs(const QImage& picture, Made made) const {
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb was = capture.pixel(x, y), now = picture.pixel(x, y);
                if (now != was && now != made(was))
                    return testing::AssertionFailure()
                           << "(" << x << "," << y << ") is " << std::hex << now;
            }
        return testing::AssertionSuccess();
    }
    testing::AssertionResult everyChangedPixelIs(const QImage& picture, QRgb colour) const {
        return everyChangedPixelIs(picture, [colour](QRgb) { return colour; });
    }

    DrawingState state;
    DrawingSurface surface{state};
    QImage capture;
};
