#pragma once

#include "platform/HotkeyService.h"
#include "settings/HotkeyAction.h"

#include <QObject>

#include <functional>
#include <map>

class Settings;

// One system-wide hotkey per bound action; a press becomes one call of `handler` on the main
// thread. Ids only grow for the life of the process, so a press that arrives for a registration
// of before a reload can never fire the wrong action.
class HotkeyManager : public QObject {
    Q_OBJECT
  public:
    static constexpr quint32 signature = HotkeyService::fourCharCode("PCTR");

    // Uses the platform's hotkey service and the shared settings.
    static HotkeyManager& shared();
    HotkeyManager(HotkeyService& service, const Settings& settings, QObject* parent = nullptr);

    std::function<void(HotkeyAction)> handler;

    // Routes the service's presses here; once.
    void installEventHandler();
    // Drops every registration and registers the current bindings again, in allCases order.
    void reloadAll();
    // Drops every registration until the next reload (while a new shortcut is being recorded).
    void unregisterAll();

    // Live registrations: id → action.
    const std::map<quint32, HotkeyAction>& registrations() const { return m_idToAction; }
    quint32 nextID() const { return m_nextID; }

  private:
    void registerCombo(const KeyCombo& combo, HotkeyAction action);
    void fire(quint32 id);

    HotkeyService& m_service;
    const Settings& m_settings;
    std::map<quint32, HotkeyAction> m_idToAction;
    quint32 m_nextID = 1;
    bool m_installed = false;
};
