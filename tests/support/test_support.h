#pragma once
// Small helpers shared by the test programs.

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <ostream>

// Lets QStrings appear in assertion messages.
inline std::ostream& operator<<(std::ostream& out, const QString& text) {
    return out << text.toStdString();
}

namespace testsupport {

// The source tree, for test data (set by CTest; falls back to the working folder).
inline QString sourceDir() {
    QString dir = qEnvironmentVariable("SKRIBANDO_SOURCE_DIR");
    return dir.isEmpty() ? QDir::currentPath() : dir;
}

// True when the person running the tests has chosen to leave out every test that needs a
// private X server, a window manager or a print server (SKRIBANDO_SKIP_E2E=1).
inline bool outsideWorldSkipped() {
    return qEnvironmentVariable("SKRIBANDO_SKIP_E2E") == "1";
}

} // namespace testsupport

// Ends a test whose outside world (Xvfb, the window manager, CUPS, a tool) could not be set
// up: a failure that says why, since a test that skips itself tests nothing, or a skip when
// the run has chosen to leave such tests out.
#define REQUIRE_OUTSIDE_WORLD(ready, why)                                                          \
    do {                                                                                           \
        if (!(ready)) {                                                                            \
            if (testsupport::outsideWorldSkipped())                                                \
                GTEST_SKIP() << "left out (SKRIBANDO_SKIP_E2E=1): " << (why);                      \
            GTEST_FAIL() << "the test's environment cannot be set up: " << (why);                  \
        }                                                                                          \
    } while (false)
