#include "x11_session.h"

#include "support/picture_diff.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QRegularExpression>
#include <QThread>

namespace {
// xdotool matches names with a POSIX regular expression, where an escaped quote means
// something else: escape only what is special there.
QString exactTitle(const QString& title) {
    QString pattern = "^";
    for (QChar c : title) {
        if (QStringLiteral(".[]()*+?{}|^$\\").contains(c))
            pattern += '\\';
        pattern += c;
    }
    return pattern + "$";
}

struct WindowManagerRun {
    QStringList command;
    QString name; // as the window manager tells it through EWMH
    bool needsSessionBus = false;
};

WindowManagerRun runOf(WindowManager windowManager) {
    switch (windowManager) {
    case WindowManager::Metacity:
        return {{"metacity"}, "Metacity"};
    case WindowManager::Xfwm4:
        return {{"xfwm4", "--compositor=off"}, "Xfwm4", true};
    case WindowManager::IceWM:
        return {{"icewm"}, "IceWM"}; // with its taskbar at the bottom
    case WindowManager::Openbox:
        break;
    }
    return {{"openbox", "--sm-disable"}, "Openbox"};
}

// Reads a line that a starting program prints once it is ready; empty when none comes.
QByteArray firstLine(QProcess& process, int timeoutMs) {
    QByteArray told;
    const QDeadlineTimer deadline(timeoutMs);
    while (!told.contains('\n') && process.state() != QProcess::NotRunning &&
           !deadline.hasExpired()) {
        process.waitForReadyRead(100);
        told += process.readAllStandardOutput();
    }
    return told.contains('\n') ? told.left(told.indexOf('\n')) : QByteArray();
}

} // namespace

X11Session::X11Session(int width, int height, WindowManager windowManager, int depth)
    : size_(width, height) {
    QDir().mkpath(home_.path() + "/config");
    QDir().mkpath(home_.path() + "/runtime");
    QFile::setPermissions(home_.path() + "/runtime",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Xvfb picks a free display itself and tells its number once it takes clients, so test
    // runs that start sessions at the same moment never end up on one display.
    xvfb_.start("Xvfb",
                {"-displayfd", "1", "-screen", "0",
                 QString("%1x%2x%3").arg(width).arg(height).arg(depth), "-nolisten", "tcp"});
    const QByteArray told = firstLine(xvfb_, 20000);
    if (told.isEmpty()) {
        error_ = "Xvfb does not start: " + QString::fromLocal8Bit(xvfb_.readAllStandardError());
        return;
    }
    display_ = ":" + QString::fromLatin1(told.trimmed());
    const WindowManagerRun wm = runOf(windowManager);
    QProcessEnvironment wmEnvironment = environment();
    wmEnvironment.insert("NO_AT_BRIDGE", "1"); // no accessibility bus of its own
    if (wm.needsSessionBus) {
        sessionBus_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        const QByteArray address = firstLine(sessionBus_, 10000);
        if (address.isEmpty()) {
            error_ = "dbus-daemon does not start for " + wm.name;
            return;
        }
        wmEnvironment.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromLatin1(address));
    }
    windowManager_.setProcessEnvironment(wmEnvironment);
    windowManager_.setProcessChannelMode(QProcess::MergedChannels);
    windowManager_.start(wm.command.first(), wm.command.mid(1));
    // A window manager is ready once it owns the window-manager selection; xfwm4 first starts
    // its settings service, which takes a while on a busy machine.
    if (!waitUntil([&] { return run("wmctrl", {"-m"}).contains("Name: " + wm.name); }, 30000)) {
        error_ = "the window manager (" + wm.name +
                 ") does not start: " + windowManager_.errorString() + " " +
                 QString::fromLocal8Bit(windowManager_.readAll());
        return;
    }
    ok_ = true;
}

X11Session::~X11Session() {
    for (QProcess* process : {&windowManager_, &sessionBus_, &xvfb_}) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->terminate();
        if (!process->waitForFinished(3000)) {
            process->kill();
            process->waitForFinished(3000);
        }
    }
}

QProcessEnvironment X11Session::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display_);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("XDG_CONFIG_HOME", home_.path() + "/config");
    env.insert("XDG_RUNTIME_DIR", home_.path() + "/runtime");
    env.insert("HOME", home_.path());
    env.remove("WAYLAND_DISPLAY");
    env.remove("XDG_SESSION_TYPE");
    return env;
}

bool X11Session::splitIntoMonitors(const QList<X11Monitor>& monitors) {
    for (const X11Monitor& monitor : monitors) {
        // Sizes in millimetres at 96 dots per inch.
        const QRect& at = monitor.geometry;
        const QString geometry = QString("%1/%2x%3/%4+%5+%6")
                                     .arg(at.width())
                                     .arg(at.width() * 254 / 960)
                                     .arg(at.height())
                                     .arg(at.height() * 254 / 960)
                                     .arg(at.x())
                                     .arg(at.y());
        // The screen's one output goes to the primary monitor, which replaces the monitor the
        // server made for it; the others are monitors without an output of their own.
        run("xrandr", {"--setmonitor", (monitor.primary ? "*" : "") + monitor.name, geometry,
                       monitor.primary ? "screen" : "none"});
    }
    const QString listed = run("xrandr", {"--listmonitors"});
    if (!listed.startsWith(QString("Monitors: %1\n").arg(monitors.size()))) {
        error_ = "xrandr does not split the screen into monitors: " + listed;
        return false;
    }
    return true;
}

QString X11Session::run(const QString& program, const QStringList& arguments, int* exitCode,
                        int timeoutMs) const {
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
    }
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool X11Session::setBackground(const QImage& picture) {
    QString file = home_.path() + "/background.png";
    if (!picture.save(file))
        return false;
    run("display", {"-window", "root", file}); // its exit code is unreliable: look instead
    const QImage expected = picture.convertToFormat(QImage::Format_RGB32);
    return waitUntil([&] { return bool(testsupport::samePixels(expected, screenshot())); }, 5000);
}

QImage X11Session::screenshot() const {
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start("import", {"-window", "root", "png:-"});
    process.waitForFinished(15000);
    QImage shot;
    shot.loadFromData(process.readAllStandardOutput(), "PNG");
    return shot.convertToFormat(QImage::Format_RGB32);
}

QImage X11Session::steadyScreenshot(int timeoutMs) const {
    QImage previous = screenshot();
    QImage current;
    waitUntil(
        [&] {
            current = screenshot();
            const bool steady = !current.isNull() && current == previous;
            previous = current;
            return steady;
        },
        timeoutMs);
    return current;
}

QString X11Session::property(unsigned long window, const QString& name) const {
    const QStringList where =
        window ? QStringList{"-id", QString::number(window)} : QStringList{"-root"};
    // "NAME(TYPE) = value", or "NAME(TYPE): window id # 0x..." for windows.
    const QString said = run("xprop", where + QStringList{"-notype", name});
    const qsizetype start = said.indexOf(QRegularExpression("[=:]"));
    return start < 0 ? QString() : said.mid(start + 1).trimmed();
}

QList<unsigned long> X11Session::clients(const QString& list) const {
    QList<unsigned long> clients;
    const QString ids = property(0, list); // "window id # 0x2, 0x4"
    for (const QRegularExpressionMatch& id : QRegularExpression("0x[0-9a-f]+").globalMatch(ids))
        clients << id.captured().toULong(nullptr, 16);
    return clients;
}

unsigned long X11Session::activeWindow() const {
    return QRegularExpression("0x[0-9a-f]+")
        .match(property(0, "_NET_ACTIVE_WINDOW"))
        .captured()
        .toULong(nullptr, 16);
}

unsigned long X11Session::waitForWindow(const QString& title, int timeoutMs) const {
    unsigned long window = 0;
    waitUntil(
        [&] {
            QString found =
                run("xdotool", {"search", "--onlyvisible", "--name", exactTitle(title)});
            window = found.split('\n', Qt::SkipEmptyParts).value(0).toULong();
            return window != 0;
        },
        timeoutMs);
    return window;
}

bool X11Session::isWindowVisible(const QString& title) const {
    return !run("xdotool", {"search", "--onlyvisible", "--name", exactTitle(title)})
                .trimmed()
                .isEmpty();
}

bool X11Session::waitForWindowGone(const QString& title, int timeoutMs) const {
    return waitUntil([&] { return !isWindowVisible(title); }, timeoutMs);
}

QRect X11Session::windowGeometry(unsigned long window) const {
    // xwininfo gives the client area's absolute place, also for a window the window manager
    // has reparented into its frame.
    QString info = run("xwininfo", {"-id", QString::number(window)});
    auto value = [&](const QString& label) {
        QRegularExpression pattern(label + ":\\s+(-?\\d+)");
        return pattern.match(info).captured(1).toInt();
    };
    return QRect(value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"),
                 value("Height"));
}

QRect X11Session::frameGeometry(unsigned long window) const {
    // Openbox puts its frame's widths on the client window: left, right, top, bottom.
    const QString said =
        run("xprop", {"-id", QString::number(window), "_NET_FRAME_EXTENTS"}).section('=', 1);
    const QStringList widths = said.split(',', Qt::SkipEmptyParts);
    const QRect client = windowGeometry(window);
    if (widths.size() != 4)
        return client;
    return client.adjusted(-widths[0].trimmed().toInt(), -widths[2].trimmed().toInt(),
                           widths[1].trimmed().toInt(), widths[3].trimmed().toInt());
}

void X11Session::activate(unsigned long window) const {
    run("xdotool", {"windowactivate", "--sync", QString::number(window)});
}

void X11Session::click(QPoint at, int button) const {
    run("xdotool", {"mousemove", "--sync", QString::number(at.x()), QString::number(at.y())});
    run("xdotool", {"click", QString::number(button)});
}

void X11Session::drag(QPoint from, QPoint to, const QString& modifiers) const {
    // Several steps, so the program sees a real drag with moves in between.
    QList<QPoint> path;
    for (int step = 0; step <= 5; ++step)
        path << from + (to - from) * step / 5;
    stroke(path, modifiers);
}

void X11Session::stroke(const QList<QPoint>& path, const QString& modifiers) const {
    auto moveTo = [&](QPoint p) {
        run("xdotool", {"mousemove", "--sync", QString::number(p.x()), QString::number(p.y())});
    };
    moveTo(path.value(0));
    if (!modifiers.isEmpty())
        run("xdotool", {"keydown", modifiers});
    run("xdotool", {"mousedown", "1"});
    for (qsizetype i = 1; i < path.size(); ++i)
        moveTo(path[i]);
    run("xdotool", {"mouseup", "1"});
    if (!modifiers.isEmpty())
        run("xdotool", {"keyup", modifiers});
}

void X11Session::key(const QString& keys) const {
    run("xdotool", QStringList{"key", "--delay", "40"} + keys.split(' ', Qt::SkipEmptyParts));
}

void X11Session::type(const QString& text) const {
    run("xdotool", {"type", "--delay", "40", text});
}

bool X11Session::waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

unsigned long startDrawingPhase(const X11Session& session) {
    const unsigned long palette = session.waitForWindow("Skribando");
    if (palette == 0)
        return 0;
    session.click(session.windowGeometry(palette).topLeft() + kLancerInPalette);
    const unsigned long surface = session.waitForWindow("ScreenForm");
    if (surface != 0)
        session.activate(surface);
    return surface;
}

bool waitForPaletteInTopRightCorner(const X11Session& session, unsigned long palette) {
    return X11Session::waitUntil([&] {
        const QRect frame = session.frameGeometry(palette);
        return frame.height() > 23 && frame.top() == 0 &&
               frame.right() == session.size().width() - 1;
    });
}

ProgramRun::ProgramRun(const X11Session& session, const QStringList& arguments)
    : ProgramRun(session.environment(), arguments) {}

ProgramRun::ProgramRun(const QProcessEnvironment& environment, const QStringList& arguments) {
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(SKRIBANDO_PROGRAM, arguments);
    process_.waitForStarted(5000);
}

ProgramRun::~ProgramRun() {
    kill();
}

bool ProgramRun::waitForExit(int timeoutMs) {
    return process_.state() == QProcess::NotRunning || process_.waitForFinished(timeoutMs);
}

void ProgramRun::kill() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

QString ProgramRun::output() {
    return QString::fromUtf8(process_.readAll());
}
