// Grabs the primary screen through the desktop portal a number of times, as the freeze does
// on a Wayland desktop, and prints each grab's time and how it splits between the portal's
// answer and our reading of its file:
// "grab MILLISECONDS ANSWER_MILLISECONDS READ_MILLISECONDS WIDTHxHEIGHT", or
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
        const QString file = TakePortalScreenshot(&failure);
        const double answered = clock.nsecsElapsed() / 1e6;
        const QImage picture =
            file.isEmpty() ? QImage() : ReadPortalScreenshot(file, size, &failure);
        const double milliseconds = clock.nsecsElapsed() / 1e6;
        if (picture.isNull()) {
            std::printf("failed %s\n", qPrintable(failure));
            return 1;
        }
        std::printf("grab %.1f %.1f %.1f %dx%d\n", milliseconds, answered, milliseconds - answered,
                    picture.width(), picture.height());
        std::fflush(stdout);
    }
    return 0;
}
