#include "platform/wayland/WaylandHotkeyService.h"

#include "platform/Log.h"
#include "platform/wayland/PortalTrigger.h"

#include <QTimer>

#include <algorithm>

namespace {

std::unique_ptr<PortalGlobalShortcuts> sessionBusPortal() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return nullptr;
    if (const auto foreign = PortalGlobalShortcuts::foreignBackend()) {
        qCInfo(lcHotkeys,
               "the shortcut portal here would come from %s.portal, a backend made for another desktop "
               "that binds no keys on this one",
               qPrintable(*foreign));
        return nullptr;
    }
    const uint version = PortalGlobalShortcuts::version(bus);
    if (version == 0) return nullptr;
    return std::make_unique<PortalGlobalShortcuts>(bus, version);
}

} // namespace

WaylandHotkeyService::WaylandHotkeyService() : WaylandHotkeyService(sessionBusPortal) {}

WaylandHotkeyService::WaylandHotkeyService(PortalFactory factory) : m_factory(std::move(factory)) {}

PortalGlobalShortcuts* WaylandHotkeyService::portal() {
    if (!m_detected) {
        m_detected = true;
        m_portal = m_factory ? m_factory() : nullptr;
        if (m_portal) {
            connect(m_portal.get(), &PortalGlobalShortcuts::activated, this, &WaylandHotkeyService::activate);
            connect(m_portal.get(), &PortalGlobalShortcuts::triggersChanged, this,
                    &DesktopShortcuts::changed);
        } else {
            // Once for the session: every registration after this is refused for the same reason.
            qCInfo(lcHotkeys,
                   "this desktop offers no shortcut portal, so Pictro binds no keys itself: bind them "
                   "to \"pictro --action NAME\" in the compositor's configuration (sway: bindsym "
                   "Ctrl+Shift+2 exec pictro --action area)");
        }
    }
    return m_portal.get();
}

int WaylandHotkeyService::registerHotkey(const HotkeyRequest& request, Registration id) {
    if (request.momentary) return momentaryRefused;
    if (!portal()) return notOffered;
    unregisterHotkey(id);
    m_registered.emplace_back(id, request);
    bindSoon();
    return 0;
}

void WaylandHotkeyService::unregisterHotkey(Registration id) {
    // The desktop keeps the binding: dropping it would lose the user's choice of key there, and a
    // reload registers the same actions again at once. Its presses are simply no longer delivered.
    std::erase_if(m_registered, [&](const auto& entry) { return entry.first == id; });
}

void WaylandHotkeyService::bindSoon() {
    // A reload unregisters and registers every action in one go: bind once, after all of it.
    if (m_bindScheduled) return;
    m_bindScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_bindScheduled = false;
        bindIfChanged();
    });
}

void WaylandHotkeyService::bindIfChanged() {
    QList<PortalGlobalShortcuts::Shortcut> wanted;
    for (const auto& [id, request] : m_registered) {
        const auto same = [&](const PortalGlobalShortcuts::Shortcut& s) { return s.id == request.action; };
        if (std::any_of(wanted.begin(), wanted.end(), same)) continue;
        wanted.push_back({request.action, request.description,
                          portaltrigger::fromCombo(request.keyCode, request.modifiers)});
    }
    // Every wanted shortcut bound as it is: binding again would only bring up the desktop's
    // dialog. One bound but no longer wanted stays bound until something else changes.
    const auto alreadyBound = [&](const PortalGlobalShortcuts::Shortcut& s) { return m_bound.contains(s); };
    if (std::all_of(wanted.begin(), wanted.end(), alreadyBound)) return;
    m_bound = wanted;
    m_portal->bind(wanted);
}

void WaylandHotkeyService::activate(const QString& action) {
    // The latest registration of the action: ids only grow, so that is the live one.
    const auto it = std::find_if(m_registered.rbegin(), m_registered.rend(),
                                 [&](const auto& entry) { return entry.second.action == action; });
    if (it == m_registered.rend() || !m_handler) return;
    m_handler(it->first);
}

QString WaylandHotkeyService::trigger(const QString& action) const {
    return m_portal ? m_portal->triggers().value(action) : QString();
}

bool WaylandHotkeyService::hasDialog() const {
    return m_portal && m_portal->canConfigure();
}

void WaylandHotkeyService::changeInDesktop() {
    if (portal()) m_portal->configure();
}
