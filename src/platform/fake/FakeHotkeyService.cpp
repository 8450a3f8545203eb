#include "platform/fake/FakeHotkeyService.h"

#include <algorithm>

int FakeHotkeyService::registerHotkey(const HotkeyRequest& request, Registration id) {
    if (refuseAll) return refusedForTheSession;
    if (taken.count((quint64(request.keyCode) << 32) | request.modifiers)) return -9878;
    live.push_back({request.keyCode, request.modifiers, id, request.action});
    return 0;
}

void FakeHotkeyService::unregisterHotkey(Registration id) {
    unregistered.push_back(id);
    live.erase(std::remove_if(live.begin(), live.end(), [&](const Entry& e) { return e.id == id; }),
               live.end());
}

bool FakeHotkeyService::press(quint32 keyCode, quint32 modifiers) {
    for (const Entry& e : live)
        if (e.keyCode == keyCode && e.modifiers == modifiers) {
            if (handler) handler(e.id);
            return true;
        }
    return false;
}
