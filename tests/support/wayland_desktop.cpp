#include "support/wayland_desktop.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QThread>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

namespace {

const char* const kUser = "skribando-desktop";

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

// The user the desktop runs as: ourselves, or when we are root (the compositor refuses
// root) a system user made once for the tests.
bool desktopUser(uint* uid, uint* gid, QString* error) {
    if (geteuid() != 0) {
        *uid = geteuid();
        *gid = getegid();
        return true;
    }
    if (!getpwnam(kUser)) {
        QProcess add;
        add.start("useradd",
                  {"--system", "--no-create-home", "--shell", "/usr/sbin/nologin", kUser});
        add.waitForFinished(15000);
        if (!getpwnam(kUser)) {
            *error = "cannot make the user " + QString(kUser) + ": " +
                     QString::fromLocal8Bit(add.readAllStandardError());
            return false;
        }
    }
    const passwd* user = getpwnam(kUser);
    *uid = user->pw_uid;
    *gid = user->pw_gid;
    return true;
}

void runAs(QProcess& process, uint uid, uint gid) {
    if (geteuid() != 0)
        return;
    process.setChildProcessModifier([uid, gid] {
        if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
            _exit(126);
    });
}

void walk(const QJsonObject& node, const std::function<void(const QJsonObject&)>& visit) {
    visit(node);
    for (const char* children : {"nodes", "floating_nodes"})
        for (const QJsonValue& child : node.value(children).toArray())
            walk(child.toObject(), visit);
}

} // namespace

WaylandDesktop::WaylandDesktop(const QImage& background, int scale, Portal portal, XServer xServer)
    : size_(background.size() / scale) {
    if (!folder_.isValid() || !desktopUser(&uid_, &gid_, &error_))
        return;
    const QString home = folder_.path();
    const QString picture = home + "/background.png";
    background.save(picture);
    if (chown(QFile::encodeName(home).constData(), uid_, gid_) != 0) {
        error_ = "cannot hand " + home + " to the desktop's user";
        return;
    }
    QFile::setPermissions(home, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    runAs(desktop_, uid_, gid_);
    desktop_.setStandardOutputFile(QProcess::nullDevice()); // its logs stay in the folder
    desktop_.setStandardErrorFile(QProcess::nullDevice());
    QStringList arguments{home, QString("%1x%2").arg(background.width()).arg(background.height()),
                          QString::number(scale), picture};
    if (portal == Portal::Absent)
        arguments << "no-portal";
    if (xServer == XServer::XWayland)
        arguments << "xwayland";
    desktop_.start(SKRIBANDO_WAYLAND_DESKTOP_SCRIPT, arguments);
    const bool started = waitUntil(
        [&] {
            return QFile::exists(home + "/environment") || QFile::exists(home + "/failed") ||
                   desktop_.state() == QProcess::NotRunning;
        },
        30000);
    QFile group(home + "/group");
    if (group.open(QIODevice::ReadOnly))
        group_ = group.readAll().trimmed().toLongLong();
    QFile told(home + "/environment");
    if (!started || !told.open(QIODevice::ReadOnly)) {
        QFile failed(home + "/failed");
        failed.open(QIODevice::ReadOnly);
        error_ = "the Wayland desktop does not start: " +
                 (failed.isOpen() ? QString::fromUtf8(failed.readAll()).trimmed()
                                  : QString("no answer within 30 s"));
        return;
    }

    clientEnvironment_ = QProcessEnvironment::systemEnvironment();
    clientEnvironment_.remove("DISPLAY");
    for (const QString& line : QString::fromUtf8(told.readAll()).split('\n'))
        if (line.contains('='))
            clientEnvironment_.insert(line.section('=', 0, 0), line.section('=', 1));
    clientEnvironment_.insert("QT_QPA_PLATFORM", "wayland");
    clientEnvironment_.remove("QT_SCALE_FACTOR");
    clientEnvironment_.remove("XAUTHORITY");

    pointer_ = std::make_unique<QProcess>();
    start(*pointer_, SKRIBANDO_VIRTUAL_POINTER,
          {QString::number(size_.width()), QString::number(size_.height())});
    if (!pointer_->waitForReadyRead(10000) || !pointer_->readLine().startsWith("ready")) {
        error_ = "the virtual pointer does not start: " +
                 QString::fromLocal8Bit(pointer_->readAllStandardError());
        return;
    }
    // A seat loses its keyboard with the last keyboard device, and a client drops its own
    // with it: keys that the next wtype sends before the client has taken a keyboard again
    // would be lost. One wtype that only waits keeps a keyboard on the seat all along.
    keyboard_ = std::make_unique<QProcess>();
    start(*keyboard_, "wtype", {"-s", "86400000"});
    if (!waitUntil(
            [&] {
                return run("swaymsg", {"-t", "get_seats"}).contains("\"keyboard\"");
            },
            5000)) {
        error_ = "wtype gives the seat no keyboard";
        return;
    }
    ok_ = true;
}

WaylandDesktop::~WaylandDesktop() {
    if (keyboard_ && keyboard_->state() != QProcess::NotRunning) {
        keyboard_->kill();
        keyboard_->waitForFinished(2000);
    }
    if (pointer_ && pointer_->state() != QProcess::NotRunning) {
        pointer_->closeWriteChannel();
        if (!pointer_->waitForFinished(2000))
            pointer_->kill();
    }
    // The desktop's processes, D-Bus services included, share one process group.
    if (group_ > 0)
        ::kill(pid_t(-group_), SIGTERM);
    if (desktop_.state() != QProcess::NotRunning && !desktop_.waitForFinished(5000)) {
        if (group_ > 0)
            ::kill(pid_t(-group_), SIGKILL);
        desktop_.waitForFinished(2000);
    }
    // The D-Bus services end a little after the bus; the folder goes once nothing writes to it.
    if (group_ > 0)
        waitUntil([&] { return ::kill(pid_t(-group_), 0) != 0; }, 5000);
    // The portals leave folders without write permission, which the folder's removal needs.
    QProcess::execute("chmod", {"-R", "u+rwX", folder_.path()});
}

void WaylandDesktop::handOver(const QString& path) const {
    if (geteuid() == 0)
        QProcess::execute("chown", {"-R", QString("%1:%2").arg(uid_).arg(gid_), path});
}

QProcessEnvironment WaylandDesktop::environment() const {
    return clientEnvironment_;
}

void WaylandDesktop::start(QProcess& process, const QString& program, const QStringList& arguments,
                           const QProcessEnvironment& environment) const {
    runAs(process, uid_, gid_);
    process.setProcessEnvironment(environment.isEmpty() ? clientEnvironment_ : environment);
    process.setWorkingDirectory(folder_.path());
    process.start(program, arguments);
    process.waitForStarted(5000);
}

QByteArray WaylandDesktop::run(const QString& program, const QStringList& arguments, int* exitCode,
                               int timeoutMs) const {
    QProcess process;
    start(process, program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
    }
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return process.readAllStandardOutput();
}

QImage WaylandDesktop::screenshot() const {
    QImage shot;
    shot.loadFromData(run("grim", {"-t", "png", "-"}), "PNG");
    return shot.convertToFormat(QImage::Format_RGB32);
}

QJsonObject WaylandDesktop::tree() const {
    return QJsonDocument::fromJson(run("swaymsg", {"-r", "-t", "get_tree"})).object();
}

QJsonObject WaylandDesktop::waitForWindow(const QString& title, int timeoutMs) const {
    QJsonObject found;
    waitUntil(
        [&] {
            walk(tree(), [&](const QJsonObject& node) {
                if (found.isEmpty() && node.value("name").toString() == title &&
                    node.value("visible").toBool())
                    found = node;
            });
            return !found.isEmpty();
        },
        timeoutMs);
    return found;
}

bool WaylandDesktop::waitForWindowGone(const QString& title, int timeoutMs) const {
    return waitUntil(
        [&] {
            bool present = false;
            walk(tree(), [&](const QJsonObject& node) {
                present = present || (node.value("name").toString() == title &&
                                      node.value("visible").toBool());
            });
            return !present;
        },
        timeoutMs);
}

bool WaylandDesktop::activate(const QString& title) const {
    if (waitForWindow(title).isEmpty())
        return false;
    // The compositor matches titles as regular expressions: ours hold no special characters.
    run("swaymsg", {QString("[title=\"^%1$\"] focus").arg(title)});
    const bool focused =
        waitUntil([&] { return waitForWindow(title, 0).value("focused").toBool(); }, 5000);
    QThread::msleep(200); // the compositor has given it the keyboard; the client learns it next
    return focused;
}

void WaylandDesktop::key(const QString& keys) const {
    // wtype presses modifiers with -M and lets them go with -m; "ctrl+s" becomes
    // -M ctrl -k s -m ctrl.
    QStringList arguments;
    for (const QString& combination : keys.split(' ', Qt::SkipEmptyParts)) {
        QStringList parts = combination.split('+');
        const QString last = parts.takeLast();
        for (const QString& modifier : parts)
            arguments << "-M" << modifier.toLower();
        arguments << "-k" << last;
        for (const QString& modifier : parts)
            arguments << "-m" << modifier.toLower();
    }
    run("wtype", arguments);
}

void WaylandDesktop::type(const QString& text) const {
    run("wtype", {text});
}

void WaylandDesktop::pointerCommand(const QString& line) const {
    pointer_->write(line.toUtf8() + '\n');
    pointer_->waitForBytesWritten(2000);
    const QDeadlineTimer deadline(5000);
    while (!pointer_->canReadLine() && !deadline.hasExpired())
        pointer_->waitForReadyRead(100);
    pointer_->readLine();
    QThread::msleep(20); // the client reads its events after the compositor sent them
}

void WaylandDesktop::moveTo(QPoint at) const {
    pointerCommand(QString("move %1 %2").arg(at.x()).arg(at.y()));
}

void WaylandDesktop::press(int button) const {
    pointerCommand(QString("press %1").arg(button));
}

void WaylandDesktop::release(int button) const {
    pointerCommand(QString("release %1").arg(button));
}

void WaylandDesktop::click(QPoint at, int button) const {
    moveTo(at);
    press(button);
    release(button);
}

void WaylandDesktop::drag(QPoint from, QPoint to) const {
    moveTo(from);
    press();
    for (int step = 1; step <= 5; ++step)
        moveTo(from + (to - from) * step / 5);
    release();
}
