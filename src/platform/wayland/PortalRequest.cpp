#include "platform/wayland/PortalRequest.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QRandomGenerator>

namespace {

constexpr const char* requestInterface = "org.freedesktop.portal.Request";

QString newToken() {
    static quint32 counter = 0;
    return QStringLiteral("pictro%1_%2")
        .arg(++counter)
        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

bool meansMissing(const QDBusError& error) {
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownObject:
        return true;
    default:
        return false;
    }
}

bool meansNoAnswer(const QDBusError& error) {
    return error.type() == QDBusError::NoReply || error.type() == QDBusError::Timeout ||
           error.type() == QDBusError::TimedOut;
}

} // namespace

QString PortalRequest::requestPath(const QString& uniqueName, const QString& token) {
    QString sender = uniqueName;
    if (sender.startsWith(QLatin1Char(':'))) sender.remove(0, 1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

void PortalRequest::start(const QDBusConnection& bus, const Call& call, Done done) {
    // Owns itself until it has answered.
    new PortalRequest(bus, call, std::move(done));
}

PortalRequest::PortalRequest(const QDBusConnection& bus, const Call& call, Done done)
    : m_bus(bus), m_service(call.service), m_done(std::move(done)) {
    if (!m_bus.isConnected()) {
        // Queued, so the caller always hears back after start() returned.
        QTimer::singleShot(0, this, [this, error = m_bus.lastError().message()] {
            finish({Outcome::portalMissing, 2, {}, QStringLiteral("no session bus: ") + error});
        });
        return;
    }
    const QString token = newToken();
    listenAt(requestPath(m_bus.baseService(), token));

    QVariantMap options = call.options;
    options.insert(QStringLiteral("handle_token"), token);
    QDBusMessage message = QDBusMessage::createMethodCall(call.service, QString::fromLatin1(desktopPath),
                                                          call.interface, call.method);
    message.setArguments(QVariantList(call.arguments) << options);

    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        closeRequest();
        finish({Outcome::timedOut, 2, {}, QStringLiteral("no answer in time")});
    });
    m_timeout.start(call.timeoutMs);

    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message, call.timeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        if (reply.isError()) {
            const QDBusError error = reply.error();
            const Outcome outcome = meansMissing(error)    ? Outcome::portalMissing
                                    : meansNoAnswer(error) ? Outcome::timedOut
                                                           : Outcome::callFailed;
            finish({outcome, 2, {}, error.name() + QStringLiteral(": ") + error.message()});
            return;
        }
        // Portals older than handle tokens choose their own path: follow it.
        const QString path = reply.value().path();
        if (!m_finished && path != m_path) {
            stopListening();
            listenAt(path);
        }
    });
}

void PortalRequest::listenAt(const QString& path) {
    m_path = path;
    m_bus.connect(m_service, m_path, QString::fromLatin1(requestInterface), QStringLiteral("Response"), this,
                  SLOT(onResponse(uint, QVariantMap)));
}

void PortalRequest::stopListening() {
    if (m_path.isEmpty()) return;
    m_bus.disconnect(m_service, m_path, QString::fromLatin1(requestInterface), QStringLiteral("Response"),
                     this, SLOT(onResponse(uint, QVariantMap)));
}

void PortalRequest::onResponse(uint response, const QVariantMap& results) {
    finish({Outcome::answered, response, results, {}});
}

void PortalRequest::closeRequest() {
    if (m_path.isEmpty()) return;
    // Takes down a dialog the portal may still show; nobody waits for its answer.
    m_bus.call(QDBusMessage::createMethodCall(m_service, m_path, QString::fromLatin1(requestInterface),
                                              QStringLiteral("Close")),
               QDBus::NoBlock);
}

void PortalRequest::finish(const Answer& answer) {
    if (m_finished) return;
    m_finished = true;
    m_timeout.stop();
    stopListening();
    if (m_done) m_done(answer);
    deleteLater();
}
