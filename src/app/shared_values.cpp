#include "app/shared_values.h"

#include <QFileInfo>

QString ProgramFolder;
QString HelpFolder;
QString HelpFileName = QStringLiteral("hilfe.html");
QString VersionText = QStringLiteral("1.2.2007.05.18 (deutsch)");

void InitSharedValues(const QString& programFile) {
    HelpFileName = QStringLiteral("hilfe-fr.html");
    VersionText = QStringLiteral("1.2.2007.05.18 (français)");
    ProgramFolder = QFileInfo(programFile).absolutePath();
    if (!ProgramFolder.endsWith(QLatin1Char('/')))
        ProgramFolder += QLatin1Char('/');
    HelpFolder = ProgramFolder + QStringLiteral("Hilfe/");
}

QString HelpAddress() {
    return QStringLiteral("file://") + HelpFolder + HelpFileName;
}
