#pragma once

#include "platform/HotkeyService.h"

// System-wide shortcuts on Wayland: a client cannot grab keys; only the desktop can bind them.
class WaylandHotkeyService : public HotkeyService {
public:
    int registerHotkey(const HotkeyRequest& request, Registration id) override;
    void unregisterHotkey(Registration) override {}
    void setPressHandler(PressHandler handler) override { m_handler = std::move(handler); }

private:
    PressHandler m_handler;
};
