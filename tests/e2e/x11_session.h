#pragma once
// A private X server with a window manager, and the tools a test uses to act like a user
// on it: xdotool for the mouse and keyboard, screenshots of the root window, the clipboard.

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

// One monitor of a screen split into several (RandR monitors, as a desktop with two screens
// side by side shows them to programs).
struct X11Monitor {
    QString name;
    QRect geometry;
    bool primary = false;
};

// The window managers the tests run under, all Debian packages.
enum class WindowManager { Openbox, Metacity, Xfwm4, IceWM };

class X11Session {
public:
    X11Session(int width = 1280, int height = 800,
               WindowManager windowManager = WindowManager::Openbox, int depth = 24);
    ~X11Session();

    // False when Xvfb could not start; `error()` says why.
    bool ok() const { return ok_; }
    QString error() const { return error_; }
    QString display() const { return display_; }
    QSize size() const { return size_; }

    // Environment for programs on this display, with private config and runtime folders.
    QProcessEnvironment environment() const;
    QString configHome() const { return home_.path() + "/config"; }

    // Splits the screen into `monitors`, before the program starts; the primary one takes
    // over the screen's output. False, with the reason in `error()`, when the server refuses.
    bool splitIntoMonitors(const QList<X11Monitor>& monitors);
    // Two monitors of 960x1080 on a 1920x1080 screen, the primary one ("R") on the right, so
    // the primary screen does not start at the desktop's origin.
    static QList<X11Monitor> primaryOnTheRight() {
        return {{"L", QRect(0, 0, 960, 1080)}, {"R", QRect(960, 0, 960, 1080), true}};
    }

    // Runs a command to its end on this display; returns its standard output.
    QString run(const QString& program, const QStringList& arguments, int* exitCode = nullptr,
                int timeoutMs = 15000) const;

    // Sets the root window's picture (what a capture sees where no window is).
    bool setBackground(const QImage& picture);
    QImage screenshot() const;
    // A screenshot once the screen has stopped changing (two shots in a row alike), so a
    // window that has just appeared is painted in full; the last shot after `timeoutMs`.
    QImage steadyScreenshot(int timeoutMs = 5000) const;

    // The windows the window manager manages, in the order of the root window's property:
    // EWMH _NET_CLIENT_LIST (the order they were mapped in) or _NET_CLIENT_LIST_STACKING
    // (bottom to top).
    QList<unsigned long> clients(const QString& list = "_NET_CLIENT_LIST") const;
    // The window with the keyboard focus (EWMH _NET_ACTIVE_WINDOW); 0 for none.
    unsigned long activeWindow() const;
    // A window's property as xprop prints it after the "=", trimmed.
    QString property(unsigned long window, const QString& name) const;

    // Window lookup by exact title; 0 when absent after `timeoutMs`.
    unsigned long waitForWindow(const QString& title, int timeoutMs = 10000) const;
    bool waitForWindowGone(const QString& title, int timeoutMs = 10000) const;
    bool isWindowVisible(const QString& title) const;
    // Client area of a window, in screen coordinates.
    QRect windowGeometry(unsigned long window) const;
    // The client area with the window manager's frame around it (title bar and borders).
    QRect frameGeometry(unsigned long window) const;

    // Gives `window` the keyboard focus and waits until it has it: a window that has just
    // appeared may not have it yet, and keys would reach the window below.
    void activate(unsigned long window) const;

    void click(QPoint at, int button = 1) const;
    void drag(QPoint from, QPoint to, const QString& modifiers = {}) const;
    // Presses the left button at the path's first point, moves through the others, releases.
    void stroke(const QList<QPoint>& path, const QString& modifiers = {}) const;
    // Key combinations separated by blanks, as xdotool names them ("ctrl+4 alt+e").
    void key(const QString& keys) const;
    void type(const QString& text) const;

    // Polls until `done` holds or the time runs out.
    static bool waitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

private:
    bool ok_ = false;
    QString error_;
    QString display_;
    QSize size_;
    QTemporaryDir home_;
    QProcess xvfb_;
    QProcess sessionBus_; // only for a window manager that keeps its settings behind D-Bus
    QProcess windowManager_;
};

// Waits until the palette, frame included, stands in the screen's top-right corner, where
// its start-up steps (loading the settings, the French texts) place it when no position is
// stored; false when it does not get there.
bool waitForPaletteInTopRightCorner(const X11Session& session, unsigned long palette);

// Where the palette's Lancer button lies from the top-left corner of its client area.
constexpr QPoint kLancerInPalette(26, 11);

// Clicks Lancer on the idle palette and gives the frozen screen the focus, as a user starting
// a drawing phase does. Returns the surface window, 0 when the palette or the surface does not
// appear.
unsigned long startDrawingPhase(const X11Session& session);

// The program under test, started on a session.
class ProgramRun {
public:
    explicit ProgramRun(const X11Session& session, const QStringList& arguments = {});
    // Started in `environment` (the session's with additions, say).
    ProgramRun(const QProcessEnvironment& environment, const QStringList& arguments);
    ~ProgramRun();
    bool waitForExit(int timeoutMs = 10000);
    int exitCode() const { return process_.exitCode(); }
    bool running() const { return process_.state() != QProcess::NotRunning; }
    void kill();
    QString output();

private:
    QProcess process_;
};
