#include "platform/wayland/PortalScreenshot.h"

#include "platform/TimingMarks.h"
#include "platform/wayland/PortalRequest.h"

#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QUrl>

namespace {

// Folders whose files nobody keeps: a screenshot the portal leaves there is Pictro's to remove.
// One in the user's pictures folder (where some desktops put every screenshot) stays.
bool inTemporaryFolder(const QString& path) {
    const QString file = QFileInfo(path).absoluteFilePath();
    QStringList roots{QDir::tempPath(), QStringLiteral("/tmp")};
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) roots << qEnvironmentVariable("XDG_RUNTIME_DIR");
    for (const QString& root : roots) {
        const QString dir = QDir(root).canonicalPath();
        if (!dir.isEmpty() && file.startsWith(dir + QLatin1Char('/'))) return true;
    }
    return false;
}

ScreenshotOutcome failure(ScreenshotFailure why, const QString& detail) {
    return {QImage(), why, detail};
}

} // namespace

ScreenshotOutcome PortalScreenshot::fromAnswer(uint response, const QString& uri) {
    if (response == 1)
        return failure(ScreenshotFailure::denied, QStringLiteral("the screenshot was refused"));
    if (response != 0)
        return failure(ScreenshotFailure::cancelled, QStringLiteral("response %1").arg(response));
    const QUrl url(uri);
    if (!url.isLocalFile())
        return failure(ScreenshotFailure::unreadable, QStringLiteral("not a local file: ") + uri);
    const QString path = QFileInfo(url.toLocalFile()).canonicalFilePath();
    if (path.isEmpty()) return failure(ScreenshotFailure::unreadable, QStringLiteral("no such file: ") + uri);

    QImageReader reader(path);
    QImage image = reader.read();
    if (inTemporaryFolder(path)) QFile::remove(path);
    if (image.isNull())
        return failure(ScreenshotFailure::unreadable, path + QStringLiteral(": ") + reader.errorString());
    return {image, std::nullopt, {}};
}

uint PortalScreenshot::version(const QDBusConnection& bus) {
    QDBusMessage get = QDBusMessage::createMethodCall(
        QString::fromLatin1(PortalRequest::desktopService), QString::fromLatin1(PortalRequest::desktopPath),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.freedesktop.portal.Screenshot") << QStringLiteral("version");
    const QDBusReply<QDBusVariant> reply = bus.call(get, QDBus::Block, 5000);
    return reply.isValid() ? reply.value().variant().toUInt() : 0;
}

void PortalScreenshot::take(const QDBusConnection& bus, const Options& options, Done done) {
    PortalRequest::Call call;
    if (!options.service.isEmpty()) call.service = options.service;
    call.interface = QStringLiteral("org.freedesktop.portal.Screenshot");
    call.method = QStringLiteral("Screenshot");
    call.arguments = {QString()}; // no parent window: Pictro's own surfaces are not shown yet
    call.options = {{QStringLiteral("interactive"), false}, {QStringLiteral("modal"), false}};
    call.timeoutMs = options.timeoutMs;
    PortalRequest::start(bus, call, [done = std::move(done)](const PortalRequest::Answer& answer) {
        switch (answer.outcome) {
        case PortalRequest::Outcome::answered:
            timingmarks::mark("screenshot portal: answered");
            done(fromAnswer(answer.response, answer.results.value(QStringLiteral("uri")).toString()));
            return;
        case PortalRequest::Outcome::portalMissing:
            done(failure(ScreenshotFailure::portalMissing, answer.detail));
            return;
        case PortalRequest::Outcome::timedOut:
            done(failure(ScreenshotFailure::timedOut, answer.detail));
            return;
        case PortalRequest::Outcome::callFailed:
            done(failure(ScreenshotFailure::failed, answer.detail));
            return;
        }
    });
}
