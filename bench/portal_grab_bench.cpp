// The freeze's grab on a Wayland desktop, through the desktop portal, against a budget:
// 250 ms at 1280x1024, about as long as a freeze may take before it feels slow. A private
// headless desktop (sway with the wlr portal) runs the probe, which grabs as the program does.
#include "bench_harness.h"
#include "support/wayland_desktop.h"

#include <QImage>
#include <algorithm>
#include <cstdio>
#include <vector>

SKRIBANDO_BENCH(portal) {
    QImage background(1280, 1024, QImage::Format_RGB32);
    background.fill(QColor(40, 90, 160));
    WaylandDesktop desktop(background);
    if (!desktop.ok()) {
        std::printf("  %s: portal benchmark skipped\n", qPrintable(desktop.error()));
        return;
    }
    QProcess probe;
    desktop.start(probe, SKRIBANDO_PORTAL_PROBE, {"9"});
    probe.waitForFinished(120000);
    std::vector<double> times;
    for (const QByteArray& line : probe.readAllStandardOutput().split('\n')) {
        if (line.startsWith("grab "))
            times.push_back(line.split(' ').value(1).toDouble());
        else if (!line.isEmpty())
            std::printf("  %s\n", line.constData());
    }
    if (times.size() < 3) {
        std::printf("  the probe grabbed %zu times: no ratio\n", times.size());
        return;
    }
    // The first grab starts the portal's backend; a user meets it once per session.
    std::printf("  first grab %.1f ms\n", times.front());
    times.erase(times.begin());
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("  portal grab 1280x1024: median %.1f ms, best %.1f ms, worst %.1f ms\n", median,
                times.front(), times.back());
    summary.ratio("grab.portal_budget", 250.0 / median);
}
