#include "fuzz_check.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

namespace fuzz {

void startQtApplication() {
    static int argc = 1;
    static char name[] = "skribando-fuzz";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Font and platform notes, once per input, would bury libFuzzer's own report.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    // Lives as long as the process; libFuzzer never returns to a caller that could end it.
    new QApplication(argc, argv);
}

const QString& scratchFolder() {
    static QTemporaryDir folder(QDir::tempPath() + "/skribando-fuzz-XXXXXX");
    static const QString path = folder.path();
    FUZZ_CHECK(folder.isValid(), "no scratch folder: %s", qPrintable(folder.errorString()));
    return path;
}

} // namespace fuzz

// Fontconfig keeps its caches for the whole process; its allocations are not our leaks.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
