#pragma once
// TScreenForm: the full-screen drawing window. It shows the engine's picture unscaled,
// one picture pixel per device pixel, and feeds the engine its input.

#include "surface/drawing_surface.h"

#include <QWidget>
#include <functional>

class QMenu;

class TScreenForm : public QWidget {
    Q_OBJECT
public:
    explicit TScreenForm(const DrawingState& state, QWidget* parent = nullptr);

    DrawingSurface& surface() { return surface_; }

    // Shows the window over the whole primary screen and brings it to the front.
    void ShowOnPrimaryScreen();

    // The pointer over the picture: mode 2 hides it (only the tool symbol shows), any other
    // mode gives the normal arrow.
    void ApplyCursorMode(int mauszeigerMode);

    // The palette's popup menu, shared with this window.
    void setPopupMenu(QMenu* menu) { popupMenu_ = menu; }

    // Asked when the window is closed: true when Finish is closing it. A close from
    // anywhere else runs onClosedOtherwise (the palette closes, ending the program).
    std::function<bool()> closingFromFinish;
    std::function<void()> onClosedOtherwise;

    // Repaints the whole picture (after it was replaced as a whole).
    void RepaintPicture() { update(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void FormShow();

    DrawingSurface surface_;
    QMenu* popupMenu_ = nullptr;
    int cursorMode_ = 1;
};
