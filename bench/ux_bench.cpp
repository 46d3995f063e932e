// From a click on "Lancer" to a surface ready to draw on, measured from outside as a user
// meets it: a private Xvfb with openbox and a realistic screenshot as the desktop, the real
// program, a click through XTest, and the moments read from the X server's events (the
// surface mapped, the palette at its expanded height). The peer a user would pick instead,
// `flameshot gui` with its daemon running, is timed to its full-screen window in the same run.
#include "bench_harness.h"
#include "ux_watch.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

using ux::Clock;
using ux::WindowEvent;

constexpr int kRounds = 3;
constexpr QPoint kLancerInPalette(26, 11);
constexpr int kExpandedPalette = 300; // the collapsed palette is 23 pixels high

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// An X server of its own with openbox, the screenshot as its root window's picture and a
// session bus, as every desktop session has (without one, Qt tries to start a bus of its
// own at the first window, which no user meets).
class Desktop {
public:
    Desktop(QSize size, const QImage& background) {
        environment_ = QProcessEnvironment::systemEnvironment();
        xvfb_.start("Xvfb",
                    {"-displayfd", "1", "-screen", "0",
                     QString("%1x%2x24").arg(size.width()).arg(size.height()), "-nolisten", "tcp"});
        QByteArray told;
        while (!told.contains('\n') && xvfb_.waitForReadyRead(20000))
            told += xvfb_.readAllStandardOutput();
        if (!told.contains('\n')) {
            error_ = "Xvfb does not start";
            return;
        }
        display_ = ":" + told.trimmed();
        environment_.insert("DISPLAY", QString::fromUtf8(display_));
        environment_.insert("QT_QPA_PLATFORM", "xcb");
        if (!startSessionBus())
            return;
        environment_.insert("HOME", home_.path());
        environment_.insert("XDG_CONFIG_HOME", home_.path() + "/config");
        environment_.insert("XDG_RUNTIME_DIR", home_.path() + "/runtime");
        environment_.remove("WAYLAND_DISPLAY");
        environment_.remove("XDG_SESSION_TYPE");
        QDir().mkpath(home_.path() + "/config");
        QDir().mkpath(home_.path() + "/runtime");
        QFile::setPermissions(home_.path() + "/runtime",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString picture = home_.path() + "/background.png";
        background.save(picture);
        run("display", {"-window", "root", picture});
        windowManager_.setProcessEnvironment(environment_);
        windowManager_.start("openbox", {});
        if (!windowManager_.waitForStarted(5000))
            error_ = "openbox does not start";
        QThread::msleep(700); // openbox takes over the root window
    }
    ~Desktop() {
        for (QProcess* process : {&windowManager_, &bus_, &xvfb_})
            if (process->state() != QProcess::NotRunning) {
                process->terminate();
                if (!process->waitForFinished(3000))
                    process->kill();
                process->waitForFinished(3000);
            }
    }
    bool ok() const { return error_.isEmpty(); }
    QString error() const { return error_; }
    QByteArray display() const { return display_; }
    QProcessEnvironment environment() const { return environment_; }
    void run(const QString& program, const QStringList& arguments) const {
        QProcess process;
        process.setProcessEnvironment(environment_);
        process.start(program, arguments);
        process.waitForFinished(30000);
    }

private:
    bool startSessionBus() {
        bus_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QByteArray address;
        while (!address.contains('\n') && bus_.waitForReadyRead(5000))
            address += bus_.readAllStandardOutput();
        if (!address.contains('\n')) {
            error_ = "no session bus";
            return false;
        }
        environment_.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromUtf8(address.trimmed()));
        return true;
    }

    QTemporaryDir home_;
    QProcess xvfb_;
    QProcess bus_;
    QProcess windowManager_;
    QByteArray display_;
    QProcessEnvironment environment_;
    QString error_;
};

long residentKilobytes(qint64 pid) {
    QFile status(QString("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

struct OurFigures {
    double startMs = 0;  // program start to the palette mapped
    double mappedMs = 0; // click to the surface mapped
    double readyMs = 0;  // click to the surface mapped and the palette expanded
    double residentMb = 0;
    QString error;
};

OurFigures measureSkribando(const Desktop& desktop) {
    OurFigures figures;
    ux::Watcher watcher(desktop.display());
    if (!watcher.ok()) {
        figures.error = "no X connection with XTest";
        return figures;
    }
    QProcess program;
    program.setProcessEnvironment(desktop.environment());
    // The program is started once a round; the last start stays for the drawing phases.
    std::vector<double> starts;
    std::optional<WindowEvent> palette;
    for (int round = 0; round < kRounds; ++round) {
        if (round > 0) {
            program.kill();
            program.waitForFinished(5000);
            QThread::msleep(400);
        }
        const Clock::time_point started = Clock::now();
        // Another build of the program may be named, to compare before and after in one run.
        program.start(qEnvironmentVariable("SKRIBANDO_UX_PROGRAM", SKRIBANDO_PROGRAM), {});
        palette = watcher.waitFor(
            [&](const WindowEvent& e) {
                return e.kind == WindowEvent::Mapped && watcher.name(e.window) == "Skribando";
            },
            20000);
        if (!palette) {
            figures.error = "the palette never appears";
            return figures;
        }
        starts.push_back(ux::millisecondsBetween(started, palette->at));
    }
    figures.startMs = median(starts);
    QThread::msleep(800); // the palette settles in its corner

    std::vector<double> mapped, ready, resident;
    uint32_t surface = 0;
    for (int round = 0; round < kRounds && figures.error.isEmpty(); ++round) {
        const QRect place = watcher.geometry(palette->window);
        const Clock::time_point clicked = watcher.click(place.topLeft() + kLancerInPalette);
        std::optional<Clock::time_point> surfaceAt, expandedAt;
        while (!surfaceAt || !expandedAt) {
            auto event = watcher.waitFor(
                [&](const WindowEvent& e) {
                    if (e.kind == WindowEvent::Mapped && !surfaceAt)
                        return e.window == surface || watcher.name(e.window) == "ScreenForm";
                    return e.kind == WindowEvent::Resized && e.window == palette->window &&
                           e.size.height() > kExpandedPalette;
                },
                10000);
            if (!event) {
                figures.error = "no drawing phase after the click";
                break;
            }
            if (event->kind == WindowEvent::Mapped) {
                surface = event->window;
                surfaceAt = event->at;
            } else {
                expandedAt = event->at;
            }
        }
        if (!figures.error.isEmpty())
            break;
        mapped.push_back(ux::millisecondsBetween(clicked, *surfaceAt));
        ready.push_back(ux::millisecondsBetween(clicked, std::max(*surfaceAt, *expandedAt)));
        QThread::msleep(500); // what stays allocated while the user draws
        resident.push_back(residentKilobytes(program.processId()) / 1024.0);

        watcher.click(watcher.geometry(palette->window).topLeft() + kLancerInPalette); // Terminer
        if (!watcher.waitFor(
                [&](const WindowEvent& e) {
                    return e.kind == WindowEvent::Unmapped && e.window == surface;
                },
                10000))
            figures.error = "the drawing phase does not end";
        QThread::msleep(400);
    }
    program.kill();
    program.waitForFinished(5000);
    figures.mappedMs = median(mapped);
    figures.readyMs = median(ready);
    figures.residentMb = median(resident);
    return figures;
}

// One `flameshot gui` until its overlay shows: the time it took, or nothing with the reason
// in `why`. The gui process is ended before this returns, so no round finds the last one's
// still running (a second gui refuses to start while one runs and just exits).
std::optional<double> flameshotGuiRound(const QProcessEnvironment& environment,
                                        ux::Watcher& watcher, QString* why) {
    QProcess gui;
    gui.setProcessEnvironment(environment);
    const auto end = [&gui] {
        if (!gui.waitForFinished(5000)) {
            gui.kill();
            gui.waitForFinished(3000);
        }
    };
    const Clock::time_point asked = Clock::now();
    gui.start("flameshot", {"gui"});
    std::optional<WindowEvent> shown;
    const QSize screen = watcher.rootSize();
    QStringList others; // windows mapped meanwhile, to tell what the gui showed instead
    // Watched in short steps so that a gui that ends without a window is noticed at once.
    for (QDeadlineTimer deadline(15000); !shown && !deadline.hasExpired();) {
        shown = watcher.waitFor(
            [&](const WindowEvent& e) {
                if (e.kind != WindowEvent::Mapped)
                    return false;
                const QRect place = watcher.geometry(e.window);
                if (place.size() == screen)
                    return true;
                others << QString("\"%1\" %2x%3")
                              .arg(watcher.name(e.window))
                              .arg(place.width())
                              .arg(place.height());
                return false;
            },
            200);
        if (!shown && gui.state() == QProcess::NotRunning) {
            *why = QString("flameshot gui ended (exit code %1) without a full-screen window: %2")
                       .arg(gui.exitCode())
                       .arg(QString::fromLocal8Bit(gui.readAllStandardError()).trimmed());
            return std::nullopt;
        }
        gui.waitForFinished(0); // takes note of an ended process
    }
    if (!shown) {
        *why = "flameshot gui shows no full-screen window (mapped: " +
               (others.isEmpty() ? QString("nothing") : others.join(", ")) + ")";
        gui.kill();
        gui.waitForFinished(3000);
        return std::nullopt;
    }
    const double ms = ux::millisecondsBetween(asked, shown->at);
    QThread::msleep(500);
    watcher.pressKey(0xff1b); // Escape ends the capture
    watcher.waitFor(
        [&](const WindowEvent& e) {
            return e.kind == WindowEvent::Unmapped && e.window == shown->window;
        },
        5000);
    end();
    return ms;
}

// The peer, with its daemon already running on the session bus. Its gui allows one instance
// per machine through a lock under the temporary folder: the desktop's own folder keeps
// another bench's gui on this machine from making ours refuse to start.
double measureFlameshot(const Desktop& desktop, QString* error) {
    QProcessEnvironment environment = desktop.environment();
    const QString temporary = environment.value("HOME") + "/tmp";
    QDir().mkpath(temporary);
    environment.insert("TMPDIR", temporary);
    QProcess daemon;
    daemon.setProcessEnvironment(environment);
    daemon.start("flameshot", {});
    if (!daemon.waitForStarted(5000)) {
        *error = "flameshot is not installed";
        return 0;
    }
    QThread::msleep(2000);

    ux::Watcher watcher(desktop.display());
    std::vector<double> times;
    for (int round = 0; round < kRounds && error->isEmpty(); ++round) {
        // A round that fails is tried once more before the peer counts as failed.
        QString why;
        std::optional<double> ms = flameshotGuiRound(environment, watcher, &why);
        if (!ms) {
            std::fprintf(stderr, "  flameshot round %d failed, tried again: %s\n", round + 1,
                         qPrintable(why));
            QThread::msleep(1000);
            ms = flameshotGuiRound(environment, watcher, &why);
        }
        if (ms)
            times.push_back(*ms);
        else
            *error = why;
        QThread::msleep(400);
    }
    daemon.terminate();
    if (!daemon.waitForFinished(3000))
        daemon.kill();
    daemon.waitForFinished(3000);
    return median(times);
}

struct Resolution {
    const char* label;
    QSize size;
    QImage (*screenshot)(QString*);
};

} // namespace

SKRIBANDO_BENCH(ux) {
    const Resolution resolutions[] = {{"4k", {3840, 2160}, bench::screenshot4k},
                                      {"1080p", {1920, 1080}, bench::screenshot1080}};
    for (const Resolution& resolution : resolutions) {
        QString source;
        // The picture goes once it is on the root window: a bench holding 33 MB more would
        // make every program it starts slower to fork.
        Desktop desktop(resolution.size, resolution.screenshot(&source));
        if (!desktop.ok()) {
            std::printf("  %s: %s, skipped\n", resolution.label, qPrintable(desktop.error()));
            continue;
        }
        const OurFigures ours = measureSkribando(desktop);
        QString peerError;
        const double peer = measureFlameshot(desktop, &peerError);
        std::printf("  %s (%s)\n", resolution.label, qPrintable(source));
        if (!ours.error.isEmpty()) {
            std::printf("    skribando: %s\n", qPrintable(ours.error));
            continue;
        }
        std::printf("    start -> palette shown           %7.1f ms\n", ours.startMs);
        std::printf("    click -> surface mapped          %7.1f ms\n", ours.mappedMs);
        std::printf("    click -> ready to draw           %7.1f ms\n", ours.readyMs);
        std::printf("    resident in the drawing phase    %7.1f MB\n", ours.residentMb);
        if (peerError.isEmpty())
            std::printf("    flameshot gui -> overlay mapped  %7.1f ms\n", peer);
        else
            std::printf("    flameshot gui: %s\n", qPrintable(peerError));

        const std::string label = resolution.label;
        const double budgetMs = label == "4k" ? 150 : 100;
        if (peerError.isEmpty())
            summary.ratio("ux.lancer_vs_flameshot_gui_" + label, peer / ours.readyMs);
        summary.ratio("ux.lancer_budget_" + label, budgetMs / ours.readyMs);
        if (label == "4k")
            summary.ratio("ux.memory_budget_4k", 175.0 / ours.residentMb);
        else
            summary.ratio("ux.start_budget_1080p", 120.0 / ours.startMs);
    }
}
