#include "hotkeys/HotkeyManager.h"
#include "platform/fake/FakeHotkeyService.h"
#include "settings/Settings.h"

#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class HotkeyManagerTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    Settings settings{dir.filePath(QStringLiteral("Pictro.conf"))};
    FakeHotkeyService service;
    HotkeyManager manager{service, settings};

    std::vector<quint32> liveIds() const {
        std::vector<quint32> ids;
        for (const auto& e : service.live)
            ids.push_back(e.id.id);
        return ids;
    }
};

TEST_F(HotkeyManagerTest, DefaultsRegisterThreeHotkeysAndIdsKeepGrowingAcrossReloads) {
    manager.reloadAll();
    ASSERT_EQ(service.live.size(), 3u);
    EXPECT_EQ(liveIds(), (std::vector<quint32>{1, 2, 3}));
    EXPECT_EQ(service.live[0].keyCode, 18u);
    EXPECT_EQ(service.live[0].modifiers, 768u);
    EXPECT_EQ(service.live[2].keyCode, 31u);
    EXPECT_EQ(service.live[2].id.signature, HotkeyService::fourCharCode("PCTR"));
    EXPECT_EQ(manager.registrations().at(3), HotkeyAction::ocr);

    manager.reloadAll();
    EXPECT_EQ(service.unregistered.size(), 3u) << "every grab is released before registering again";
    EXPECT_EQ(liveIds(), (std::vector<quint32>{4, 5, 6}));
}

TEST_F(HotkeyManagerTest, ARefusedCombinationIsLoggedAndTheOthersStillRegister) {
    service.taken.insert((quint64(18) << 32) | 768);
    testing::internal::CaptureStderr();
    manager.reloadAll();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Pictro: failed to register hotkey Ctrl+Shift+1 for fullscreen (status -9878)\n");
    EXPECT_EQ(liveIds(), (std::vector<quint32>{2, 3})) << "the refused attempt still used up id 1";
    EXPECT_EQ(manager.registrations().count(1), 0u);

    // A desktop that binds no program's keys has its service say so once: no line per action and
    // reload.
    service.refuseAll = true;
    testing::internal::CaptureStderr();
    manager.reloadAll();
    manager.reloadAll();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(manager.registrations().empty());
}

TEST_F(HotkeyManagerTest, UnboundAndMalformedBindingsRegisterNothing) {
    settings.set(hotkeyaction::settingsKey(HotkeyAction::fullscreen), QString());
    settings.set(hotkeyaction::settingsKey(HotkeyAction::area), QStringLiteral("nonsense"));
    settings.set(hotkeyaction::settingsKey(HotkeyAction::showApp), QStringLiteral("35:4864"));
    manager.reloadAll();
    ASSERT_EQ(service.live.size(), 2u);
    EXPECT_EQ(manager.registrations().at(service.live[0].id.id), HotkeyAction::showApp);
    EXPECT_EQ(manager.registrations().at(service.live[1].id.id), HotkeyAction::ocr);
}

TEST_F(HotkeyManagerTest, APressCallsTheHandlerOnceAfterTheSystemEventReturns) {
    std::vector<HotkeyAction> fired;
    manager.handler = [&](HotkeyAction a) { fired.push_back(a); };
    manager.installEventHandler();
    manager.reloadAll();
    ASSERT_TRUE(service.press(19, 768));
    EXPECT_TRUE(fired.empty()) << "never inside the system's callback";
    ASSERT_TRUE(testsupport::waitUntil([&] { return !fired.empty(); }));
    EXPECT_EQ(fired, std::vector<HotkeyAction>{HotkeyAction::area});
    // A press for a registration from before a reload is ignored.
    service.handler({HotkeyManager::signature, 2});
    manager.reloadAll();
    service.handler({HotkeyManager::signature, 2});
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(fired.size(), 2u) << "the first stale press was still live, the second not";
    // A key held by another part of the program under its own signature, with an id that is
    // live here, is not one of ours.
    service.handler({HotkeyService::fourCharCode("PCES"), service.live.front().id.id});
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(fired.size(), 2u);
}

} // namespace
