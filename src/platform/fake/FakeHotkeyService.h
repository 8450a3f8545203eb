#pragma once

#include "platform/HotkeyService.h"

#include <set>
#include <vector>

// Registrations in memory; refusals and presses are set up by the test.
class FakeHotkeyService : public HotkeyService {
  public:
    struct Entry {
        quint32 keyCode;
        quint32 modifiers;
        Registration id;
        QString action;
    };
    std::vector<Entry> live;
    std::vector<Registration> unregistered;
    // Combinations (keyCode << 32 | modifiers) the "system" refuses, with status -9878.
    std::set<quint64> taken;
    // A desktop that binds no program's keys: every registration refused for the session.
    bool refuseAll = false;
    PressHandler handler;

    int registerHotkey(const HotkeyRequest& request, Registration id) override;
    void unregisterHotkey(Registration id) override;
    void setPressHandler(PressHandler h) override { handler = std::move(h); }

    // Delivers a press of the registered combination, as the system would; false when none.
    bool press(quint32 keyCode, quint32 modifiers);
};
