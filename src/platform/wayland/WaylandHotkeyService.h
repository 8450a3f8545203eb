#pragma once

#include "platform/DesktopShortcuts.h"
#include "platform/HotkeyService.h"
#include "platform/wayland/PortalGlobalShortcuts.h"

#include <functional>
#include <memory>
#include <vector>

// System-wide shortcuts on Wayland: a client cannot grab keys; only the desktop can bind them.
// Where the desktop offers the shortcut portal, each registration becomes one of the portal's
// shortcuts, named by its action with the user's key as the preferred trigger, and the portal's
// activations become presses of that registration. Elsewhere every registration is refused, and
// the keys are bound in the compositor's configuration to Pictro's command-line actions.
class WaylandHotkeyService : public DesktopShortcuts, public HotkeyService {
    Q_OBJECT
  public:
    // Makes the portal client, or none where the desktop offers no shortcut portal; called once,
    // on the first registration or question.
    using PortalFactory = std::function<std::unique_ptr<PortalGlobalShortcuts>()>;
    // The session bus's portal.
    WaylandHotkeyService();
    explicit WaylandHotkeyService(PortalFactory factory);

    // Refused (non-zero) where the desktop offers no shortcut portal, and for momentary keys.
    int registerHotkey(const HotkeyRequest& request, Registration id) override;
    void unregisterHotkey(Registration id) override;
    void setPressHandler(PressHandler handler) override { m_handler = std::move(handler); }
    DesktopShortcuts* desktopShortcuts() override { return portal() ? this : nullptr; }

    QString trigger(const QString& action) const override;
    bool hasDialog() const override;
    void changeInDesktop() override;

    // Registration status where the desktop offers no way for programs to bind shortcuts.
    static constexpr int notOffered = refusedForTheSession;
    // Registration status of a key held only for a moment, which a desktop dialog cannot bind.
    static constexpr int momentaryRefused = 2;

  private:
    PortalGlobalShortcuts* portal();
    void bindSoon();
    void bindIfChanged();
    void activate(const QString& action);

    PortalFactory m_factory;
    bool m_detected = false;
    std::unique_ptr<PortalGlobalShortcuts> m_portal;
    PressHandler m_handler;
    // In registration order: the shortcuts are offered to the desktop in the order the program
    // lists its actions.
    std::vector<std::pair<Registration, HotkeyRequest>> m_registered;
    QList<PortalGlobalShortcuts::Shortcut> m_bound;
    bool m_bindScheduled = false;
};
