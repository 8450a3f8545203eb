// The shortcut portal's side that needs no desktop: the preferred trigger a key combination is
// offered as, and which registration an activation of an action reaches.
#include "platform/wayland/PortalTrigger.h"
#include "platform/wayland/WaylandHotkeyService.h"

#include <QCoreApplication>
#include <QDBusConnection>

#include <gtest/gtest.h>

namespace {

struct TriggerCase {
    quint32 keyCode;
    quint32 modifiers;
    const char* trigger;
};

class PortalTriggerTest : public ::testing::TestWithParam<TriggerCase> {};

// The portal's form: modifiers by its own names (Super is LOGO), the key by its keysym name,
// unshifted and lower-case; a key without a position leaves the choice to the desktop.
TEST_P(PortalTriggerTest, IsTheShortcutsFormOfTheCombination) {
    const TriggerCase& c = GetParam();
    EXPECT_EQ(portaltrigger::fromCombo(c.keyCode, c.modifiers), QString::fromLatin1(c.trigger));
}

INSTANTIATE_TEST_SUITE_P(Combinations, PortalTriggerTest,
                         ::testing::Values(TriggerCase{18, 0x300, "CTRL+SHIFT+1"},
                                           TriggerCase{31, 0x1900, "CTRL+ALT+LOGO+o"},
                                           TriggerCase{36, 0x100, "CTRL+Return"},
                                           TriggerCase{105, 0, "Print"}, TriggerCase{123, 0x800, "ALT+Left"},
                                           TriggerCase{27, 0x200, "SHIFT+minus"},
                                           TriggerCase{9999, 0x100, ""}));

// Activations name actions; they reach the live registration of that action, never one dropped
// by a reload, and momentary keys (Esc during a capture) are never offered to the desktop.
TEST(PortalShortcutActivations, ReachTheLiveRegistrationOfTheirAction) {
    PortalGlobalShortcuts* portal = nullptr;
    WaylandHotkeyService service([&] {
        // No bus: the binding calls fail, the mapping is what is looked at.
        auto made = std::make_unique<PortalGlobalShortcuts>(QDBusConnection(QStringLiteral("no bus")), 1);
        portal = made.get();
        return made;
    });
    std::vector<HotkeyService::Registration> pressed;
    service.setPressHandler([&](HotkeyService::Registration r) { pressed.push_back(r); });
    const quint32 pctr = HotkeyService::fourCharCode("PCTR");
    const HotkeyRequest area{QStringLiteral("area"), QStringLiteral("Area screenshot"), 19, 0x300};
    const HotkeyRequest screen{QStringLiteral("fullscreen"), QStringLiteral("Fullscreen screenshot"), 18,
                               0x300};
    ASSERT_EQ(service.registerHotkey(screen, {pctr, 1}), 0);
    ASSERT_EQ(service.registerHotkey(area, {pctr, 2}), 0);
    ASSERT_NE(portal, nullptr);
    EXPECT_EQ(service.desktopShortcuts(), &service);
    EXPECT_NE(service.registerHotkey({QStringLiteral("scrolling-escape"), QString(), 53, 0, true}, {0, 1}),
              0);

    emit portal->activated(QStringLiteral("area"));
    // A reload: everything dropped, then only the area registered again, under a new id.
    service.unregisterHotkey({pctr, 1});
    service.unregisterHotkey({pctr, 2});
    ASSERT_EQ(service.registerHotkey(area, {pctr, 3}), 0);
    emit portal->activated(QStringLiteral("area"));
    emit portal->activated(QStringLiteral("fullscreen"));
    emit portal->activated(QStringLiteral("scrolling-escape"));
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed, (std::vector<HotkeyService::Registration>{{pctr, 2}, {pctr, 3}}));
}

} // namespace
