#include "capture/WindowList.h"

#include <gtest/gtest.h>

namespace {

constexpr qint32 ownPid = 100;

RawWindowEntry normalEntry(qint64 number = 1, QRectF bounds = QRectF(10, 20, 300, 200), qint64 pid = 7) {
    RawWindowEntry e;
    e.layer = 0;
    e.ownerPid = pid;
    e.bounds = bounds;
    e.number = number;
    e.alpha = 1.0;
    e.name = QStringLiteral("Title");
    e.ownerName = QStringLiteral("Owner");
    return e;
}

struct FilterCase {
    const char* name;
    std::function<void(RawWindowEntry&)> change;
    bool listed;
};

class WindowFilterRule : public testing::TestWithParam<FilterCase> {};

TEST_P(WindowFilterRule, KeepsOrSkipsTheEntry) {
    RawWindowEntry e = normalEntry();
    GetParam().change(e);
    EXPECT_EQ(windowlist::filter({e}, ownPid).size(), GetParam().listed ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, WindowFilterRule,
    testing::Values(
        FilterCase{"wellFormed", [](RawWindowEntry&) {}, true},
        FilterCase{"noLayer", [](RawWindowEntry& e) { e.layer.reset(); }, false},
        FilterCase{"dockLayer", [](RawWindowEntry& e) { e.layer = windowlayer::dock; }, false},
        FilterCase{"floatingLayer", [](RawWindowEntry& e) { e.layer = windowlayer::floating; }, false},
        FilterCase{"desktopLayer", [](RawWindowEntry& e) { e.layer = windowlayer::desktop; }, false},
        FilterCase{"noPid", [](RawWindowEntry& e) { e.ownerPid.reset(); }, false},
        FilterCase{"ownPid", [](RawWindowEntry& e) { e.ownerPid = ownPid; }, false},
        FilterCase{"pidBeyond32Bits", [](RawWindowEntry& e) { e.ownerPid = qint64(1) << 32; }, false},
        FilterCase{"noBounds", [](RawWindowEntry& e) { e.bounds.reset(); }, false},
        FilterCase{"noNumber", [](RawWindowEntry& e) { e.number.reset(); }, false},
        FilterCase{"negativeNumber", [](RawWindowEntry& e) { e.number = -1; }, false},
        FilterCase{"numberBeyond32Bits", [](RawWindowEntry& e) { e.number = qint64(1) << 32; }, false},
        FilterCase{"largestNumber", [](RawWindowEntry& e) { e.number = 0xffffffffLL; }, true},
        FilterCase{"width59", [](RawWindowEntry& e) { e.bounds = QRectF(0, 0, 59, 500); }, false},
        FilterCase{"height39", [](RawWindowEntry& e) { e.bounds = QRectF(0, 0, 500, 39); }, false},
        FilterCase{"exactly60x40", [](RawWindowEntry& e) { e.bounds = QRectF(0, 0, 60, 40); }, true},
        FilterCase{"alpha005", [](RawWindowEntry& e) { e.alpha = 0.05; }, false},
        FilterCase{"alpha0", [](RawWindowEntry& e) { e.alpha = 0.0; }, false},
        FilterCase{"alpha006", [](RawWindowEntry& e) { e.alpha = 0.06; }, true},
        FilterCase{"noAlpha", [](RawWindowEntry& e) { e.alpha.reset(); }, true},
        FilterCase{"noNames",
                   [](RawWindowEntry& e) {
                       e.name.reset();
                       e.ownerName.reset();
                   },
                   true}),
    [](const testing::TestParamInfo<FilterCase>& info) { return std::string(info.param.name); });

TEST(WindowList, KeepsTheServersOrderAndCopiesTheFields) {
    RawWindowEntry front = normalEntry(30, QRectF(1, 2, 100, 100), 8);
    RawWindowEntry tiny = normalEntry(20, QRectF(0, 0, 10, 10), 8);
    RawWindowEntry back = normalEntry(10, QRectF(5, 6, 400, 300), 9);
    back.name.reset();
    const auto list = windowlist::filter({front, tiny, back}, ownPid);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].windowID, 30u);
    EXPECT_EQ(list[1].windowID, 10u);
    EXPECT_EQ(list[1].frameCG, QRectF(5, 6, 400, 300));
    EXPECT_EQ(list[1].pid, 9);
    EXPECT_EQ(list[1].title, QString());
    EXPECT_EQ(list[1].ownerName, QStringLiteral("Owner"));
}

TEST(WindowList, FrontmostPrefersTheFrontmostApplicationsTopWindow) {
    const auto list = windowlist::filter({normalEntry(1, QRectF(0, 0, 100, 100), 5),
                                          normalEntry(2, QRectF(0, 0, 100, 100), 6),
                                          normalEntry(3, QRectF(0, 0, 100, 100), 6)},
                                         ownPid);
    EXPECT_EQ(windowlist::frontmost(list, 6)->windowID, 2u);
    // An application without listed windows, or none at all: the topmost window of anyone.
    EXPECT_EQ(windowlist::frontmost(list, 77)->windowID, 1u);
    EXPECT_EQ(windowlist::frontmost(list, std::nullopt)->windowID, 1u);
    EXPECT_FALSE(windowlist::frontmost({}, 6).has_value());
}

} // namespace
