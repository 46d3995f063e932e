#include "support/private_cups.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <utility>

namespace testsupport {
namespace {

// The queues are PDF printers: the file holds what CUPS's PDF filter made of the job.
const char* const kTestPpd = R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "SKRIB.PPD"
*Manufacturer: "Skribando"
*Product: "(Test)"
*ModelName: "Skribando test printer"
*ShortNickName: "Skribando test"
*NickName: "Skribando test printer"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter2: "application/vnd.cups-pdf application/pdf 0 -"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "12 12 583 827.5"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
)ppd";

} // namespace

PrivateCups::~PrivateCups() {
    if (cupsd_.state() != QProcess::NotRunning) {
        cupsd_.terminate();
        if (!cupsd_.waitForFinished(5000))
            cupsd_.kill();
        cupsd_.waitForFinished(2000);
    }
}

QString PrivateCups::start() {
    const QString cupsd = QStandardPaths::findExecutable("cupsd", {"/usr/sbin", "/sbin"});
    const QString lpadmin = QStandardPaths::findExecutable("lpadmin", {"/usr/sbin", "/usr/bin"});
    if (cupsd.isEmpty() || lpadmin.isEmpty())
        return "cupsd or lpadmin is not installed";
    if (!qEnvironmentVariableIsEmpty("SKRIBANDO_PRINT_WITHOUT_CUPS"))
        return "SKRIBANDO_PRINT_WITHOUT_CUPS is set";
    for (const char* sub : {"spool", "tmp", "state", "cache", "log"})
        QDir(folder_).mkpath(sub);
    write("test.ppd", kTestPpd);
    write("cupsd.conf", QStringLiteral("Listen %1\nLogLevel warn\nWebInterface No\n"
                                       "Browsing Off\nDefaultAuthType None\n"
                                       "<Location />\n  Order allow,deny\n  Allow all\n"
                                       "</Location>\n")
                            .arg(socket())
                            .toUtf8());
    write("cups-files.conf", QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\n"
                                            "TempDir %1/tmp\nStateDir %1/state\n"
                                            "CacheDir %1/cache\nErrorLog %1/log/error_log\n"
                                            "AccessLog %1/log/access_log\n"
                                            "PageLog %1/log/page_log\n"
                                            "ServerBin /usr/lib/cups\n"
                                            "DataDir /usr/share/cups\nFileDevice Yes\n")
                                 .arg(folder_)
                                 .toUtf8());
    // Filters run under another user; they must reach the spool and the output file.
    QFile::setPermissions(folder_, QFileDevice::Permissions(0x7777));
    for (const char* sub : {"spool", "tmp"})
        QFile::setPermissions(folder_ + '/' + sub, QFileDevice::Permissions(0x7777));

    cupsd_.setProcessChannelMode(QProcess::MergedChannels);
    cupsd_.start(cupsd, {"-f", "-c", folder_ + "/cupsd.conf", "-s", folder_ + "/cups-files.conf"});
    if (!cupsd_.waitForStarted(5000))
        return "cupsd does not start";
    const QDeadlineTimer deadline(10000);
    while (!QFile::exists(socket())) {
        if (cupsd_.state() == QProcess::NotRunning || deadline.hasExpired())
            return "cupsd ends at once: " + QString::fromLocal8Bit(cupsd_.readAll());
        QThread::msleep(50);
    }
    for (const auto& [queue, location] :
         {std::pair{"skribando-a", "Bureau 2"}, std::pair{"skribando-b", "Bureau 3"}}) {
        int code = 0;
        const QString said = runTool(lpadmin,
                                     {"-p", queue, "-v", "file://" + output(queue), "-P",
                                      folder_ + "/test.ppd", "-L", location, "-E"},
                                     environment(), &code);
        if (code != 0)
            return "lpadmin refuses the queue: " + said;
    }
    return {};
}

QString PrivateCups::output(const QString& queue) const {
    return folder_ + "/out-" + queue.right(1) + ".pdf";
}

QProcessEnvironment PrivateCups::environment() const {
    return environment(QProcessEnvironment::systemEnvironment());
}

QProcessEnvironment PrivateCups::environment(QProcessEnvironment base) const {
    base.insert("CUPS_SERVER", socket());
    base.insert("PRINTER", "skribando-a");
    base.insert("LPDEST", "skribando-a");
    base.insert("HOME", folder_);
    return base;
}

bool PrivateCups::waitForCompletedJob(const QString& queue, int milliseconds) {
    const QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        const QString done = runTool("lpstat", {"-W", "completed", "-o", queue}, environment());
        if (done.contains(queue + "-"))
            return true;
        QThread::msleep(200);
    }
    return false;
}

QString PrivateCups::log() const {
    QFile file(folder_ + "/log/error_log");
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

void PrivateCups::write(const QString& name, const QByteArray& text) {
    QFile file(folder_ + '/' + name);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
}

QString runTool(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& environment, int* exitCode) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished(2000);
    }
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAll());
}

} // namespace testsupport
