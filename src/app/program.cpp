#include "app/program.h"

#include <QApplication>
#include <QWidget>

int RunProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Skribando");
    QWidget palette;
    palette.setWindowTitle("Skribando");
    palette.show();
    return app.exec();
}
