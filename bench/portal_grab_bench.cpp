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
    // Each grab's whole time, the portal's answer (its compositor screenshot written to a
    // PNG file) and our part (reading that file and cutting out the primary screen).
    std::vector<double> times, answers, reads;
    for (const QByteArray& line : probe.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.value(0) == "grab" && fields.size() >= 4) {
            times.push_back(fields[1].toDouble());
            answers.push_back(fields[2].toDouble());
            reads.push_back(fields[3].toDouble());
        } else if (!line.isEmpty()) {
            std::printf("  %s\n", line.constData());
        }
    }
    if (times.size() < 3) {
        std::printf("  the probe grabbed %zu times: no ratio\n", times.size());
        return;
    }
    // The first grab starts the portal's backend; a user meets it once per session.
    std::printf("  first grab %.1f ms\n", times.front());
    const auto median = [](std::vector<double> values) {
        values.erase(values.begin());
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    const double grab = median(times);
    std::printf("  portal grab 1280x1024: median %.1f ms = the portal's answer %.1f ms + reading "
                "its PNG %.1f ms\n",
                grab, median(answers), median(reads));
    summary.ratio("grab.portal_budget", 250.0 / grab);
}
