// Runs the registered benchmarks (all, or those named on the command line) and prints the
// summary. Benchmarks that need an X server get a private Xvfb at 3840 x 2160.
#include "bench_harness.h"

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <cstdio>
#include <set>

namespace bench {

std::vector<Registered>& registry() {
    static std::vector<Registered> all;
    return all;
}

Registrar::Registrar(const char* area, BenchFunction function) {
    registry().push_back({area, function});
}

void keep(const void* pointer) { asm volatile("" : : "g"(pointer) : "memory"); }

static QImage generatedScreenshot(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    QLinearGradient title(0, 0, width, 0);
    title.setColorAt(0, QColor(30, 60, 140));
    title.setColorAt(1, QColor(90, 140, 220));
    painter.fillRect(0, 0, width, 40, title);
    painter.setPen(Qt::black);
    painter.setFont(QFont("Liberation Serif", 17));
    for (int y = 70; y < height * 3 / 4; y += 26)
        painter.drawText(40, y, "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do "
                                "eiusmod tempor incididunt ut labore et dolore magna aliqua 0123.");
    painter.end();
    QRandomGenerator random(7);
    for (int y = height * 3 / 4; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = width / 2; x < width; ++x) {
            int base = 128 + static_cast<int>(60 * std::sin(x / 90.0) * std::cos(y / 70.0));
            int noise = random.bounded(12);
            row[x] = qRgb(base + noise, base / 2 + noise, 255 - base + noise);
        }
    }
    return picture;
}

static QImage sharedOrGenerated(const char* file, int width, int height, QString* source) {
    QString path = QString(SKRIBANDO_SOURCE_DIR) + "/../shared/bench/" + file;
    QImage picture;
    if (QFileInfo::exists(path))
        picture.load(path);
    if (!picture.isNull()) {
        if (source)
            *source = QFileInfo(path).canonicalFilePath();
        return picture.convertToFormat(QImage::Format_RGB32);
    }
    if (source)
        *source = "generated";
    return generatedScreenshot(width, height);
}

QImage screenshot4k(QString* source) { return sharedOrGenerated("screen4k.png", 3840, 2160, source); }
QImage screenshot1080(QString* source) {
    return sharedOrGenerated("screen1080.png", 1920, 1080, source);
}

} // namespace bench

namespace {

// A private X server, so the benchmarks that need one run on a headless machine too.
class PrivateXvfb {
public:
    bool start() {
        for (int number = 93; number < 99; ++number) {
            QString display = QString(":%1").arg(number);
            if (QFileInfo::exists(QString("/tmp/.X11-unix/X%1").arg(number)))
                continue;
            server_.start("Xvfb", {display, "-screen", "0", "3840x2160x24", "-nolisten", "tcp"});
            if (!server_.waitForStarted(3000))
                return false;
            for (int i = 0; i < 50; ++i) {
                if (QFileInfo::exists(QString("/tmp/.X11-unix/X%1").arg(number))) {
                    qputenv("DISPLAY", display.toUtf8());
                    return true;
                }
                QThread::msleep(100);
            }
            server_.kill();
            server_.waitForFinished();
        }
        return false;
    }
    ~PrivateXvfb() {
        if (server_.state() != QProcess::NotRunning) {
            server_.terminate();
            server_.waitForFinished(3000);
        }
    }

private:
    QProcess server_;
};

} // namespace

int main(int argc, char** argv) {
    std::set<std::string> wanted;
    for (int i = 1; i < argc; ++i)
        wanted.insert(argv[i]);

    PrivateXvfb xvfb;
    if (xvfb.start())
        qputenv("QT_QPA_PLATFORM", "xcb");
    else {
        std::printf("bench: no Xvfb could start; running offscreen (the grab benchmark skips)\n");
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);

    bench::Summary summary;
    for (const auto& entry : bench::registry()) {
        if (!wanted.empty() && !wanted.count(entry.area))
            continue;
        std::printf("== %s\n", entry.area.c_str());
        std::fflush(stdout);
        entry.function(summary);
    }
    std::printf("\nsummary\n");
    for (const auto& [name, value] : summary.ratios())
        std::printf("ratio %s %.2f\n", name.c_str(), value);
    return 0;
}
