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

} // namespace testsupport
