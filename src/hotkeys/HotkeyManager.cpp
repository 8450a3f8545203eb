#include "hotkeys/HotkeyManager.h"

#include "platform/Log.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QPointer>

#include <cstdio>

HotkeyManager& HotkeyManager::shared() {
    static HotkeyManager instance(Platform::current().hotkeys(), Settings::shared());
    return instance;
}

HotkeyManager::HotkeyManager(HotkeyService& service, const Settings& settings, QObject* parent)
    : QObject(parent), m_service(service), m_settings(settings) {}

void HotkeyManager::installEventHandler() {
    if (m_installed) return;
    m_installed = true;
    QPointer<HotkeyManager> self(this);
    m_service.setPressHandler([self](HotkeyService::Registration r) {
        // Other parts of the program hold keys of their own (Esc during a scrolling capture) under
        // another signature; their ids can equal one of ours, since ours keep growing.
        if (self && r.signature == signature) self->fire(r.id);
    });
}

void HotkeyManager::reloadAll() {
    unregisterAll();
    for (HotkeyAction action : hotkeyaction::allCases())
        if (const auto combo = m_settings.combo(action)) registerCombo(*combo, action);
}

void HotkeyManager::unregisterAll() {
    for (const auto& [id, action] : m_idToAction)
        m_service.unregisterHotkey({signature, id});
    m_idToAction.clear();
}

void HotkeyManager::registerCombo(const KeyCombo& combo, HotkeyAction action) {
    const quint32 id = m_nextID++;
    const HotkeyRequest request{hotkeyaction::rawValue(action), hotkeyaction::label(action), combo.keyCode,
                                combo.modifiers};
    const int status = m_service.registerHotkey(request, {signature, id});
    if (status == 0) {
        m_idToAction[id] = action;
        return;
    }
    // The service has said once why no key can be registered in this session.
    if (status == HotkeyService::refusedForTheSession) return;
    qCWarning(lcHotkeys, "failed to register hotkey %s for %s (status %d)", qPrintable(combo.label()),
              qPrintable(hotkeyaction::rawValue(action)), status);
}

void HotkeyManager::fire(quint32 id) {
    const auto it = m_idToAction.find(id);
    if (it == m_idToAction.end()) return;
    QPointer<HotkeyManager> self(this);
    const HotkeyAction action = it->second;
    QMetaObject::invokeMethod(
        this,
        [self, action] {
            if (self && self->handler) self->handler(action);
        },
        Qt::QueuedConnection);
}
