#include "output/file_extension.h"

#include <QLocale>
#include <algorithm>

QString lowerCaseExtension(const QString& fileName) {
    qsizetype folderEnd = std::max(
        {fileName.lastIndexOf('\\'), fileName.lastIndexOf('/'), fileName.lastIndexOf(':')});
    qsizetype dot = fileName.lastIndexOf('.');
    if (dot < 0 || dot < folderEnd)
        return {};
    return QLocale().toLower(fileName.mid(dot));
}

bool isSaveableExtension(const QString& extension) {
    return extension == ".png" || extension == ".jpg" || extension == ".bmp";
}
