#pragma once
// TScreenForm: the full-screen drawing window. It shows the engine's picture unscaled,
// one picture pixel per device pixel, feeds the engine its input, repaints only what the
// engine reports as changed, and hosts Edit1, the text tool's box. The engine belongs to
// whoever assembles the program; the window only borrows it.

#include "surface/drawing_surface.h"

#include <QWidget>
#include <functional>

class QLineEdit;
class QMenu;
class MenuShortcutPrecedence;

class TScreenForm : public QWidget {
    Q_OBJECT
public:
    explicit TScreenForm(DrawingSurface& surface, QWidget* parent = nullptr);
    // The engine may outlive the window: it is told no more changes.
    ~TScreenForm() override;

    QLineEdit* edit1() const { return edit1_; }

    // Shows the window over the whole primary screen and brings it to the front.
    void ShowOnPrimaryScreen();

    // The pointer over the picture: hidden when only the tool symbol is to show where it
    // is, else the normal arrow.
    void ApplyCursorMode(bool toolSymbolOnly);

    // The palette's popup menu, shared with this window. Its shortcuts (and those of the
    // actions added to this window) come before the text box's own editing keys.
    void setPopupMenu(QMenu* menu);

    // Asked when the window is closed: true when Finish is closing it. A close from
    // anywhere else runs onClosedOtherwise (the palette closes, ending the program).
    std::function<bool()> closingFromFinish;
    std::function<void()> onClosedOtherwise;
    // Run at every mouse press on the picture: the palette raises itself when hidden.
    std::function<void()> onPicturePressed;

    // The picture pixel under the mouse pointer now.
    QPoint pointerInPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    // Key preview: the window sees every key before the text box does.
    void FormKeyDown(const QKeyEvent& event);
    void FormKeyUp(const QKeyEvent& event);
    void pictureChanged(const QRect& device);
    void textBoxChanged(bool wantsFocus);

    DrawingSurface& surface_;
    QLineEdit* edit1_ = nullptr;
    MenuShortcutPrecedence* shortcutPrecedence_ = nullptr;
    QMenu* popupMenu_ = nullptr;
    bool toolSymbolOnly_ = false;
};
