#include "platform/open_document.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace {

const QString kFileScheme = QStringLiteral("file://");

DesktopOpener& installedOpener() {
    static DesktopOpener opener;
    return opener;
}

} // namespace

QUrl DocumentUrl(const QString& address) {
    if (address.startsWith(kFileScheme, Qt::CaseInsensitive))
        return QUrl::fromLocalFile(address.mid(kFileScheme.size()));
    return QUrl(address, QUrl::TolerantMode);
}

bool OpenDocumentAddress(const QString& address) {
    const QUrl url = DocumentUrl(address);
    if (!url.isValid() || url.isEmpty())
        return false;
    // The desktop's handler is started without waiting for it, so a missing file would go
    // unnoticed; look for it first.
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
        return false;
    if (installedOpener())
        return installedOpener()(url);
    return QDesktopServices::openUrl(url);
}

void setDesktopOpener(DesktopOpener opener) {
    installedOpener() = std::move(opener);
}
