#include "platform/wayland/PortalGlobalShortcuts.h"

#include "platform/wayland/PortalRequest.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDBusVariant>
#include <QRandomGenerator>

namespace {

constexpr const char* shortcutsInterface = "org.freedesktop.portal.GlobalShortcuts";

// One entry of the portal's a(sa{sv}) shortcut lists.
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& arg, const PortalShortcut& s) {
    arg.beginStructure();
    arg << s.id << s.properties;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, PortalShortcut& s) {
    arg.beginStructure();
    arg >> s.id >> s.properties;
    arg.endStructure();
    return arg;
}

} // namespace

Q_DECLARE_METATYPE(PortalShortcut)

PortalGlobalShortcuts::PortalGlobalShortcuts(QDBusConnection bus, QObject* parent) : QObject(parent), m_bus(std::move(bus)) {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    m_bus.connect(QString::fromLatin1(PortalRequest::desktopService), QString::fromLatin1(PortalRequest::desktopPath),
                  QString::fromLatin1(shortcutsInterface), QStringLiteral("Activated"), this,
                  SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
}

bool PortalGlobalShortcuts::available(const QDBusConnection& bus) {
    QDBusMessage get = QDBusMessage::createMethodCall(QString::fromLatin1(PortalRequest::desktopService),
                                                      QString::fromLatin1(PortalRequest::desktopPath),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QString::fromLatin1(shortcutsInterface) << QStringLiteral("version");
    const QDBusReply<QDBusVariant> reply = bus.call(get, QDBus::Block, 5000);
    return reply.isValid() && reply.value().variant().toUInt() >= 1;
}

QString PortalGlobalShortcuts::portalTrigger(const QString& keyText) { return keyText.toUpper(); }

void PortalGlobalShortcuts::bind(const QList<Shortcut>& shortcuts, std::function<void(bool, QMap<QString, QString>)> done) {
    if (!m_session.isEmpty()) {
        bindInSession(shortcuts, std::move(done));
        return;
    }
    createSession([this, shortcuts, done = std::move(done)](bool ok) mutable {
        if (!ok) {
            done(false, {});
            return;
        }
        bindInSession(shortcuts, std::move(done));
    });
}

void PortalGlobalShortcuts::createSession(std::function<void(bool)> done) {
    PortalRequest::Call call;
    call.interface = QString::fromLatin1(shortcutsInterface);
    call.method = QStringLiteral("CreateSession");
    call.options.insert(QStringLiteral("session_handle_token"),
                        QStringLiteral("pictro_%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    PortalRequest::start(m_bus, call, [this, done = std::move(done)](const PortalRequest::Answer& answer) {
        const bool ok = answer.outcome == PortalRequest::Outcome::answered && answer.response == 0;
        if (ok) m_session = answer.results.value(QStringLiteral("session_handle")).toString();
        done(ok && !m_session.isEmpty());
    });
}

void PortalGlobalShortcuts::bindInSession(const QList<Shortcut>& shortcuts,
                                          std::function<void(bool, QMap<QString, QString>)> done) {
    QList<PortalShortcut> list;
    for (const Shortcut& s : shortcuts) {
        QVariantMap properties{{QStringLiteral("description"), s.description}};
        if (!s.preferredTrigger.isEmpty()) properties.insert(QStringLiteral("preferred_trigger"), s.preferredTrigger);
        list.push_back({s.id, properties});
    }
    PortalRequest::Call call;
    call.interface = QString::fromLatin1(shortcutsInterface);
    call.method = QStringLiteral("BindShortcuts");
    call.arguments = {QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(list), QString()};
    // The desktop may show its binding dialog: give the user time.
    call.timeoutMs = 120000;
    PortalRequest::start(m_bus, call, [done = std::move(done)](const PortalRequest::Answer& answer) {
        if (answer.outcome != PortalRequest::Outcome::answered || answer.response != 0) {
            done(false, {});
            return;
        }
        QMap<QString, QString> bound;
        const QDBusArgument arg = answer.results.value(QStringLiteral("shortcuts")).value<QDBusArgument>();
        QList<PortalShortcut> result;
        arg >> result;
        for (const PortalShortcut& s : result)
            bound.insert(s.id, s.properties.value(QStringLiteral("trigger_description")).toString());
        done(true, bound);
    });
}

void PortalGlobalShortcuts::onActivated(const QDBusObjectPath& session, const QString& id, qulonglong, const QVariantMap&) {
    if (session.path() == m_session) emit activated(id);
}
