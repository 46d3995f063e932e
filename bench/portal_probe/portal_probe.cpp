// Grabs the primary screen through the desktop portal a number of times, as the freeze does
// on a Wayland desktop, and prints each grab's time: "grab MILLISECONDS WIDTHxHEIGHT", or
// "failed REASON". Run by the portal benchmark on its private Wayland desktop.
//   portal-probe COUNT
#include "platform/portal_screenshot.h"
#include "platform/screen_grab.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 5;
    const QSize size = PrimaryScreenDeviceRect().size();
    for (int i = 0; i < count; ++i) {
        QString failure;
        QElapsedTimer clock;
        clock.start();
        const QImage picture = GrabPrimaryScreenThroughPortal(size, &failure);
        const double milliseconds = clock.nsecsElapsed() / 1e6;
        if (picture.isNull()) {
            std::printf("failed %s\n", qPrintable(failure));
            return 1;
        }
        std::printf("grab %.1f %dx%d\n", milliseconds, picture.width(), picture.height());
        std::fflush(stdout);
    }
    return 0;
}
