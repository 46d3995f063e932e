#include "app/program.h"

#include "app/tool_form.h"
#include "controls/message_box.h"
#include "platform/single_instance.h"
#include "surface/widget/screen_form.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

namespace {

QImage GrabWithQt() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

int RunProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Skribando");
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstanceGuard guard;
    if (!guard.acquire()) {
        showMessage(MessageKind::Information,
                    QString::fromUtf8("L'application est déjà en cours d'exécution."));
        return 0;
    }

    // The windows, in their order; all live until the process ends, only the palette shows.
    TToolForm palette;
    TScreenForm screen(palette.drawingState());
    palette.AttachScreenForm(&screen);
    palette.grabScreen = GrabWithQt;

    palette.PlaceAtTopRight();
    palette.show();
    return app.exec();
}
