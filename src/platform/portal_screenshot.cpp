#include "platform/portal_screenshot.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QUuid>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");

// The portal answers on a request object of its own through the Response signal; this
// catches it, whichever comes first, the answer or the end of the wait.
class PortalAnswer : public QObject {
    Q_OBJECT
public:
    bool answered = false;
    uint code = 2;
    QVariantMap results;

    bool listenOn(const QString& request) {
        return QDBusConnection::sessionBus().connect(kService, request, kRequest, "Response", this,
                                                     SLOT(take(uint, QVariantMap)));
    }
    void stopListening(const QString& request) {
        QDBusConnection::sessionBus().disconnect(kService, request, kRequest, "Response", this,
                                                 SLOT(take(uint, QVariantMap)));
    }

signals:
    void arrived();

public slots:
    void take(uint response, const QVariantMap& values) {
        answered = true;
        code = response;
        results = values;
        emit arrived();
    }
};

// Says why in `failure` and gives back an empty picture or file name.
template <typename Result = QImage> Result failed(QString* failure, const QString& reason) {
    if (failure)
        *failure = reason;
    return {};
}

// Where the portal will put its answer: it is known before the call, so we listen before
// asking and cannot miss an answer that comes quickly.
QString requestPathFor(const QDBusConnection& bus, const QString& token) {
    QString sender = bus.baseService().mid(1);
    sender.replace('.', '_');
    return kPath + "/request/" + sender + "/" + token;
}

} // namespace

QImage CropToPrimaryScreen(const QImage& wholeDesktop, const QRect& desktop, const QRect& primary,
                           QSize deviceSize) {
    if (wholeDesktop.isNull() || desktop.isEmpty() || primary.isEmpty() || deviceSize.isEmpty())
        return {};
    const qreal scaleX = qreal(wholeDesktop.width()) / desktop.width();
    const qreal scaleY = qreal(wholeDesktop.height()) / desktop.height();
    const QRect cut(qRound((primary.x() - desktop.x()) * scaleX),
                    qRound((primary.y() - desktop.y()) * scaleY), qRound(primary.width() * scaleX),
                    qRound(primary.height() * scaleY));
    // One screen at its own scale is the whole picture: no copy of its megabytes.
    QImage screen = cut == wholeDesktop.rect()
                        ? wholeDesktop
                        : wholeDesktop.copy(cut.intersected(wholeDesktop.rect()));
    screen.convertTo(QImage::Format_RGB32);
    if (screen.size() != deviceSize)
        screen = screen.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    screen.setDevicePixelRatio(1);
    return screen;
}

QString TakePortalScreenshot(QString* failure, int timeoutMs) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return failed<QString>(failure, "no D-Bus session bus: " + bus.lastError().message());

    const QDeadlineTimer deadline(timeoutMs);
    const QString token = "skribando_" + QUuid::createUuid().toString(QUuid::Id128);
    QString request = requestPathFor(bus, token);
    PortalAnswer answer;
    answer.listenOn(request);

    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, kPath, "org.freedesktop.portal.Screenshot", "Screenshot");
    call << QString()
         << QVariantMap{{"handle_token", token}, {"interactive", false}, {"modal", false}};
    const QDBusReply<QDBusObjectPath> reply =
        bus.call(call, QDBus::Block, int(std::max<qint64>(1, deadline.remainingTime())));
    if (!reply.isValid()) {
        answer.stopListening(request);
        return failed<QString>(failure, "the desktop portal takes no screenshot: " +
                                            reply.error().message());
    }
    // Portals before the handle_token convention pick their own path.
    if (reply.value().path() != request) {
        answer.stopListening(request);
        request = reply.value().path();
        answer.listenOn(request);
    }

    if (!answer.answered) {
        QEventLoop wait;
        QObject::connect(&answer, &PortalAnswer::arrived, &wait, &QEventLoop::quit);
        QTimer::singleShot(int(std::max<qint64>(0, deadline.remainingTime())), &wait,
                           &QEventLoop::quit);
        // The palette is hidden and the freeze not shown yet: nothing may act on a click now.
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
    answer.stopListening(request);
    if (!answer.answered) {
        bus.call(QDBusMessage::createMethodCall(kService, request, kRequest, "Close"),
                 QDBus::NoBlock);
        return failed<QString>(failure, "the desktop portal does not answer");
    }
    if (answer.code != 0)
        return failed<QString>(failure, answer.code == 1 ? "the screenshot was refused"
                                                         : "the desktop portal could not take it");
    const QString file = QUrl(answer.results.value("uri").toString()).toLocalFile();
    if (file.isEmpty())
        return failed<QString>(failure, "the desktop portal names no file");
    return file;
}

QImage ReadPortalScreenshot(const QString& file, QSize deviceSize, QString* failure) {
    const QImage wholeDesktop(file);
    QFile::remove(file);
    if (wholeDesktop.isNull())
        return failed(failure, "the screenshot " + file + " cannot be read");
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return failed(failure, "no screen");
    return CropToPrimaryScreen(wholeDesktop, screen->virtualGeometry(), screen->geometry(),
                               deviceSize);
}

QImage GrabPrimaryScreenThroughPortal(QSize deviceSize, QString* failure, int timeoutMs) {
    if (!QGuiApplication::primaryScreen())
        return failed(failure, "no screen");
    const QString file = TakePortalScreenshot(failure, timeoutMs);
    return file.isEmpty() ? QImage() : ReadPortalScreenshot(file, deviceSize, failure);
}

#include "portal_screenshot.moc"
