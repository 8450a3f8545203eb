// Real key grabs on a private X server, pressed with xdotool as a user would.
#include "platform/x11/X11HotkeyService.h"
#include "settings/KeyCombo.h"

#include "support/TestSupport.h"
#include "support/x11/X11TestSupport.h"

#include <algorithm>

#include <xcb/xcb.h>

#include <gtest/gtest.h>

namespace {

void xdotool(const QStringList& args) {
    ASSERT_TRUE(x11test::xdotoolSucceeds(args)) << args.join(' ').toStdString();
}

class X11Hotkeys : public ::testing::Test {
  protected:
    void SetUp() override {
        service.setPressHandler([this](HotkeyService::Registration r) { presses.push_back(r.id); });
    }
    bool pressed(quint32 id) {
        return testsupport::waitUntil([&] { return std::count(presses.begin(), presses.end(), id) > 0; });
    }
    // Whether `id` fired for the keys typed so far: the X server delivers key events in order, so
    // once a marker combination typed afterwards has arrived, an earlier press would have too.
    bool firedSoFar(quint32 id) {
        const HotkeyService::Registration marker{1, 99};
        EXPECT_EQ(service.registerHotkey({{}, {}, 25, 768}, marker), 0); // Ctrl+Shift+9
        xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+9")});
        EXPECT_TRUE(pressed(marker.id));
        service.unregisterHotkey(marker);
        return std::count(presses.begin(), presses.end(), id) > 0;
    }
    X11HotkeyService service;
    std::vector<quint32> presses;
};

TEST_F(X11Hotkeys, APressReachesTheHandlerWhateverTheLockKeys) {
    ASSERT_EQ(service.registerHotkey({{}, {}, 18, 768}, {1, 7}), 0);
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+1")});
    EXPECT_TRUE(pressed(7));
    presses.clear();
    xdotool({QStringLiteral("key"), QStringLiteral("Caps_Lock")});
    xdotool({QStringLiteral("key"), QStringLiteral("Num_Lock")});
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+1")});
    EXPECT_TRUE(pressed(7)) << "with Caps Lock and Num Lock on";
    xdotool({QStringLiteral("key"), QStringLiteral("Caps_Lock")});
    xdotool({QStringLiteral("key"), QStringLiteral("Num_Lock")});
    presses.clear();
    service.unregisterHotkey({1, 7});
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+1")});
    EXPECT_FALSE(firedSoFar(7)) << "released grabs no longer fire";
}

TEST_F(X11Hotkeys, OtherModifiersDoNotFireTheCombination) {
    ASSERT_EQ(service.registerHotkey({{}, {}, 19, 768}, {1, 8}), 0);
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+2")});
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+alt+2")});
    EXPECT_FALSE(firedSoFar(8));
}

TEST_F(X11Hotkeys, ACombinationHeldByAnotherProgramIsRefused) {
    // Another client grabs Ctrl+Alt+F9 first.
    xcb_connection_t* other = xcb_connect(nullptr, nullptr);
    ASSERT_EQ(xcb_connection_has_error(other), 0);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
    xcb_generic_error_t* error =
        xcb_request_check(other, xcb_grab_key_checked(other, 0, root, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1,
                                                      75, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    ASSERT_EQ(error, nullptr);
    EXPECT_NE(service.registerHotkey({{}, {}, 101, KeyCombo::command | KeyCombo::option}, {1, 9}), 0);
    // Others still work.
    ASSERT_EQ(service.registerHotkey({{}, {}, 20, 768}, {1, 10}), 0);
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+3")});
    EXPECT_TRUE(pressed(10));
    xcb_disconnect(other);
}

TEST(X11HotkeyModifiers, MapToThePcModifierKeys) {
    EXPECT_EQ(X11HotkeyService::xModifiers(KeyCombo::command), XCB_MOD_MASK_CONTROL);
    EXPECT_EQ(X11HotkeyService::xModifiers(KeyCombo::control | KeyCombo::option),
              XCB_MOD_MASK_4 | XCB_MOD_MASK_1);
}

} // namespace
