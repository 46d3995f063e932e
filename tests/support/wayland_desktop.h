#pragma once
// A private headless Wayland desktop (sway, PipeWire, the desktop portals in their own D-Bus
// session; tests/support/wayland_desktop.sh) and the tools a test uses on it like a user:
// grim for screenshots, swaymsg for the windows, wtype for keys, a virtual pointer for the
// mouse. The compositor will not run as root: run as root, the desktop and every program
// started on it run as an unprivileged user made for the purpose.

#include <QImage>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class WaylandDesktop {
public:
    enum class Portal { Offered, Absent };
    // With XWayland, environment() also names its DISPLAY for X11 clients.
    enum class XServer { None, XWayland };

    explicit WaylandDesktop(const QImage& background, int scale = 1,
                            Portal portal = Portal::Offered, XServer xServer = XServer::None);
    ~WaylandDesktop();

    // False when the desktop could not start; `error()` says why.
    bool ok() const { return ok_; }
    QString error() const { return error_; }
    // Output size in logical pixels (the background's size divided by the scale).
    QSize size() const { return size_; }
    // A folder the desktop's user owns (its home), where programs on it may write.
    QString folder() const { return folder_.path(); }
    // Gives a file or folder that the test made (as root) to the desktop's user.
    void handOver(const QString& path) const;
    // Environment for Wayland clients of this desktop.
    QProcessEnvironment environment() const;

    // Starts `process` as the desktop's user, in `environment` (default: environment()).
    void start(QProcess& process, const QString& program, const QStringList& arguments,
               const QProcessEnvironment& environment = {}) const;
    // Runs a command as the desktop's user to its end; returns its standard output.
    QByteArray run(const QString& program, const QStringList& arguments, int* exitCode = nullptr,
                   int timeoutMs = 15000) const;

    // The whole output in device pixels, read by the compositor's own screen copy.
    QImage screenshot() const;
    // The compositor's tree of outputs, workspaces and windows.
    QJsonObject tree() const;
    // The first window whose title is `title`, with its "rect" (logical pixels) and
    // "fullscreen_mode"; empty when there is none after `timeoutMs`.
    QJsonObject waitForWindow(const QString& title, int timeoutMs = 10000) const;
    bool waitForWindowGone(const QString& title, int timeoutMs = 10000) const;
    // Gives the window the keyboard, as a click into it would, once it is there; false when
    // it does not appear.
    bool activate(const QString& title) const;

    // Key combinations separated by blanks ("ctrl+s Return F9").
    void key(const QString& keys) const;
    void type(const QString& text) const;
    // The virtual pointer, in logical pixels of the output.
    void moveTo(QPoint at) const;
    void press(int button = 1) const;
    void release(int button = 1) const;
    void click(QPoint at, int button = 1) const;
    void drag(QPoint from, QPoint to) const;

private:
    void pointerCommand(const QString& line) const;

    bool ok_ = false;
    QString error_;
    QSize size_;
    QTemporaryDir folder_;
    uint uid_ = 0;
    uint gid_ = 0;
    QProcessEnvironment clientEnvironment_;
    QProcess desktop_;
    std::unique_ptr<QProcess> pointer_;
    std::unique_ptr<QProcess> keyboard_;
    qint64 group_ = 0;
};
