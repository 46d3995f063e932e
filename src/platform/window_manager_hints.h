#pragma once
// What a window manager is told about a window of ours beyond what the window library tells it.

class QWindow;

// Leaves `window` out of the desktop's task lists and pagers (the EWMH states
// _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER). Call it while the window is
// hidden, before each showing: a window manager drops a window's states when it is hidden.
// Outside X11 it does nothing.
void KeepOutOfTaskList(QWindow& window);

// Tells the window manager what kind of window `window` is (EWMH _NET_WM_WINDOW_TYPE): an
// ordinary application window, which task lists show, or a tool window, which they leave out
// but which every window manager keeps above the window it belongs to, whatever kind the
// window library made of it. Call it once the native window exists. Outside X11 it does
// nothing.
void ShowInTaskList(QWindow& window, bool shown);

// Gives `window` the keyboard focus. On X11 the request is made as a pager makes it (EWMH
// _NET_ACTIVE_WINDOW from a pager), which window managers grant even where their guard against
// stolen focus refuses an application's own request to take back the focus it just had.
void ActivateWindow(QWindow& window);
