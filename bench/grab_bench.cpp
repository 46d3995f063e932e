// The screen grab behind the freeze against Qt's QScreen::grabWindow(0) on the private 4K
// X server: a full-screen window shows a realistic screenshot, both grab the screen in
// turns, and both must give the same pixels.
#include "bench_harness.h"
#include "platform/screen_grab.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <cstdio>

namespace {

class PictureWindow : public QWidget {
public:
    explicit PictureWindow(const QImage& picture) : picture_(picture) {
        setWindowFlags(Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

private:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, picture_); }
    QImage picture_;
};

qint64 differingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return -1;
    qint64 count = 0;
    for (int y = 0; y < a.height(); ++y) {
        auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        auto* rowB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            count += (rowA[x] & 0xFFFFFF) != (rowB[x] & 0xFFFFFF);
    }
    return count;
}

const char* verdict(qint64 differing) {
    return differing == 0 ? "yes" : differing < 0 ? "NO (sizes differ)" : "NO";
}

} // namespace

SKRIBANDO_BENCH(grab) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::printf("  the platform is %s, not X11: grab benchmark skipped\n",
                    qPrintable(QGuiApplication::platformName()));
        return;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    QString source;
    const QImage shot = bench::screenshot4k(&source);
    std::printf("  screen %dx%d device pixels, showing %s\n", PrimaryScreenDeviceRect().width(),
                PrimaryScreenDeviceRect().height(), qPrintable(source));

    PictureWindow window(shot);
    window.setGeometry(screen->geometry());
    window.show();
    // The window's pixels reach the server through Qt's own connection; wait until the
    // screen shows them before timing anything.
    QImage shown;
    QDeadlineTimer deadline(10000);
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
        shown = GrabPrimaryScreen().picture;
    } while (differingPixels(shot.copy(QRect(QPoint(0, 0), shown.size())), shown) != 0 &&
             !deadline.hasExpired());
    std::printf("  screen shows the screenshot: %s\n",
                verdict(differingPixels(shot.copy(QRect(QPoint(0, 0), shown.size())), shown)));

    const QImage ours = GrabPrimaryScreen().picture;
    const QImage theirs = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    const qint64 differing = differingPixels(ours, theirs);
    std::printf("  shared-memory grab and grabWindow give identical pixels: %s",
                verdict(differing));
    if (differing > 0)
        std::printf(" (%lld pixels differ)", differing);
    std::printf("\n");

    const bench::Pair timing = bench::sideBySide(
        15, [] { bench::keep(GrabPrimaryScreen().picture.constBits()); },
        [screen] {
            QPixmap grabbed = screen->grabWindow(0);
            bench::keep(&grabbed);
        });
    std::printf("  GrabPrimaryScreen %7.2f ms   QScreen::grabWindow(0) %7.2f ms\n",
                timing.ours * 1e3, timing.theirs * 1e3);
    summary.ratio("grab.shm_vs_qt", timing.theirs / timing.ours);
}
