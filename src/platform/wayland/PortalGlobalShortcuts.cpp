#include "platform/wayland/PortalGlobalShortcuts.h"

#include "platform/Log.h"
#include "platform/wayland/PortalBackends.h"
#include "platform/wayland/PortalRequest.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QDBusVariant>
#include <QPointer>

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

QDBusMessage portalCall(const QString& method) {
    return QDBusMessage::createMethodCall(QString::fromLatin1(PortalRequest::desktopService),
                                          QString::fromLatin1(PortalRequest::desktopPath),
                                          QString::fromLatin1(shortcutsInterface), method);
}

// The session's token names the shortcuts' entry in the settings of desktops that know Pictro by
// nothing else (it runs unsandboxed, so the portal has no application id for it): it must stay the
// same from one launch to the next, or the keys the user chose there are lost at every start.
constexpr const char* sessionToken = "pictro";

QList<PortalShortcut> portalList(const QList<PortalGlobalShortcuts::Shortcut>& shortcuts) {
    QList<PortalShortcut> list;
    for (const PortalGlobalShortcuts::Shortcut& s : shortcuts) {
        QVariantMap properties{{QStringLiteral("description"), s.description}};
        if (!s.preferredTrigger.isEmpty())
            properties.insert(QStringLiteral("preferred_trigger"), s.preferredTrigger);
        list.push_back({s.id, properties});
    }
    return list;
}

} // namespace

Q_DECLARE_METATYPE(PortalShortcut)

PortalGlobalShortcuts::PortalGlobalShortcuts(QDBusConnection bus, uint version, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)), m_version(version) {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    const QString service = QString::fromLatin1(PortalRequest::desktopService);
    const QString path = QString::fromLatin1(PortalRequest::desktopPath);
    const QString interface = QString::fromLatin1(shortcutsInterface);
    // The signals arrive as whole messages: QtDBus refuses to connect them to slots that take
    // their arguments one by one, and does so without a word.
    const auto listen = [&](const char* signal, const char* slot) {
        if (!m_bus.connect(service, path, interface, QString::fromLatin1(signal), this, slot) &&
            m_bus.isConnected())
            qCWarning(lcHotkeys, "cannot listen to the shortcut portal's %s signal", signal);
    };
    listen("Activated", SLOT(onActivated(QDBusMessage)));
    listen("ShortcutsChanged", SLOT(onShortcutsChanged(QDBusMessage)));
}

PortalGlobalShortcuts::~PortalGlobalShortcuts() {
    closeSession();
}

uint PortalGlobalShortcuts::version(const QDBusConnection& bus) {
    QDBusMessage get = QDBusMessage::createMethodCall(
        QString::fromLatin1(PortalRequest::desktopService), QString::fromLatin1(PortalRequest::desktopPath),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QString::fromLatin1(shortcutsInterface) << QStringLiteral("version");
    const QDBusReply<QDBusVariant> reply = bus.call(get, QDBus::Block, 5000);
    return reply.isValid() ? reply.value().variant().toUInt() : 0;
}

std::optional<QString> PortalGlobalShortcuts::foreignBackend() {
    return portalbackends::foreignProviderHere(QStringLiteral("org.freedesktop.impl.portal.GlobalShortcuts"));
}

void PortalGlobalShortcuts::bind(const QList<Shortcut>& shortcuts) {
    if (m_binding) {
        m_queued = shortcuts;
        return;
    }
    startBinding(shortcuts);
}

void PortalGlobalShortcuts::configure() {
    if (m_version >= 2 && !m_session.isEmpty()) {
        QDBusMessage call = portalCall(QStringLiteral("ConfigureShortcuts"));
        call << QVariant::fromValue(QDBusObjectPath(m_session)) << QString() << QVariantMap();
        auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [](QDBusPendingCallWatcher* answer) {
            if (answer->isError())
                qCWarning(lcHotkeys, "the desktop's shortcut dialog did not open (%s)",
                          qPrintable(answer->error().message()));
            answer->deleteLater();
        });
        return;
    }
    bind(m_shortcuts);
}

void PortalGlobalShortcuts::startBinding(const QList<Shortcut>& shortcuts) {
    m_binding = true;
    m_shortcuts = shortcuts;
    closeSession();
    PortalRequest::Call call;
    call.interface = QString::fromLatin1(shortcutsInterface);
    call.method = QStringLiteral("CreateSession");
    call.options.insert(QStringLiteral("session_handle_token"), QString::fromLatin1(sessionToken));
    // The first desktops to implement the portal bind only the shortcuts named when the session is
    // made, and report those from BindShortcuts; later ones ignore the option.
    call.options.insert(QStringLiteral("shortcuts"), QVariant::fromValue(portalList(shortcuts)));
    QPointer<PortalGlobalShortcuts> self(this);
    PortalRequest::start(m_bus, call, [self, shortcuts](const PortalRequest::Answer& answer) {
        if (!self) return;
        if (answer.outcome == PortalRequest::Outcome::answered && answer.response == 0)
            self->m_session = answer.results.value(QStringLiteral("session_handle")).toString();
        if (self->m_session.isEmpty()) {
            qCWarning(lcHotkeys, "the desktop's shortcut portal opened no session (%s)",
                      qPrintable(answer.detail));
            self->bindingEnded();
            return;
        }
        self->bindInSession(shortcuts);
    });
}

void PortalGlobalShortcuts::bindInSession(const QList<Shortcut>& shortcuts) {
    PortalRequest::Call call;
    call.interface = QString::fromLatin1(shortcutsInterface);
    call.method = QStringLiteral("BindShortcuts");
    call.arguments = {QVariant::fromValue(QDBusObjectPath(m_session)),
                      QVariant::fromValue(portalList(shortcuts)), QString()};
    // The desktop may show its binding dialog: give the user time.
    call.timeoutMs = 120000;
    QPointer<PortalGlobalShortcuts> self(this);
    PortalRequest::start(m_bus, call, [self](const PortalRequest::Answer& answer) {
        if (!self) return;
        if (answer.outcome == PortalRequest::Outcome::answered && answer.response == 0)
            self->takeTriggers(answer.results.value(QStringLiteral("shortcuts")).value<QDBusArgument>());
        else
            qCWarning(lcHotkeys, "the desktop did not bind Pictro's shortcuts (response %u%s%s)",
                      answer.response, answer.detail.isEmpty() ? "" : ", ", qPrintable(answer.detail));
        self->bindingEnded();
    });
}

void PortalGlobalShortcuts::bindingEnded() {
    m_binding = false;
    if (!m_queued) return;
    const QList<Shortcut> next = std::move(*m_queued);
    m_queued.reset();
    startBinding(next);
}

void PortalGlobalShortcuts::closeSession() {
    if (m_session.isEmpty()) return;
    m_bus.asyncCall(QDBusMessage::createMethodCall(
        QString::fromLatin1(PortalRequest::desktopService), m_session,
        QStringLiteral("org.freedesktop.portal.Session"), QStringLiteral("Close")));
    m_session.clear();
}

void PortalGlobalShortcuts::takeTriggers(const QDBusArgument& shortcuts) {
    QList<PortalShortcut> bound;
    shortcuts >> bound;
    m_triggers.clear();
    for (const PortalShortcut& s : bound)
        m_triggers.insert(s.id, s.properties.value(QStringLiteral("trigger_description")).toString());
    emit triggersChanged();
}

bool PortalGlobalShortcuts::isOfThisSession(const QDBusMessage& signal) const {
    const QVariantList arguments = signal.arguments();
    return arguments.size() >= 2 && !m_session.isEmpty() &&
           arguments.first().value<QDBusObjectPath>().path() == m_session;
}

void PortalGlobalShortcuts::onActivated(const QDBusMessage& signal) {
    if (isOfThisSession(signal)) emit activated(signal.arguments().at(1).toString());
}

void PortalGlobalShortcuts::onShortcutsChanged(const QDBusMessage& signal) {
    if (isOfThisSession(signal)) takeTriggers(signal.arguments().at(1).value<QDBusArgument>());
}
