#include "app/ResultHandling.h"
#include "app/CaptureGeometry.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

struct Outcome {
    int copies = 0;
    int saves = 0;
    int editors = 0;
    int thumbnails = 0;
    QStringList toasts;
    QStringList logs;
};

struct ResultCase {
    const char* name;
    bool show, copy, save, saveSucceeds;
    AfterCropShow cropShow;
    CaptureSource source;
    int copies, saves, editors, thumbnails;
    const char* toast; // "" for none
};

class ResultHandlingTable : public ::testing::TestWithParam<ResultCase> {
  protected:
    void SetUp() override { Settings::registerDefaults(); }
    QTemporaryDir dir;
    Settings settings{dir.filePath(QStringLiteral("Pictro.conf"))};
};

TEST_P(ResultHandlingTable, FollowsTheAfterCaptureSettings) {
    const ResultCase& c = GetParam();
    settings.set(keys::afterShow, c.show);
    settings.set(keys::afterCopy, c.copy);
    settings.set(keys::afterSave, c.save);
    settings.set(keys::afterCropShow, afterCropShowText.rawValue(c.cropShow));
    Outcome o;
    ResultActions a;
    a.copy = [&](const CapturedImage&) { ++o.copies; };
    a.save = [&](const CapturedImage&) -> std::optional<QString> {
        ++o.saves;
        if (!c.saveSucceeds) return std::nullopt;
        return QStringLiteral("/home/u/Desktop/Pictro 2026-12-08 at 08.00.00.png");
    };
    a.openEditor = [&](const CapturedImage&) { ++o.editors; };
    a.showThumbnail = [&](const CapturedImage&, std::function<void(const CapturedImage&)> onOpen) {
        ++o.thumbnails;
        onOpen(CapturedImage{}); // opening the thumbnail opens the editor
    };
    a.toast = [&](const QString& m, const QString&, double) { o.toasts << m; };
    a.log = [&](const QString& m) { o.logs << m; };
    handleCaptureResult(CapturedImage{QImage(1200, 800, QImage::Format_RGB32), 2.0}, c.source, settings, a);

    EXPECT_EQ(o.copies, c.copies);
    EXPECT_EQ(o.saves, c.saves);
    EXPECT_EQ(o.editors, c.editors);
    EXPECT_EQ(o.thumbnails, c.thumbnails);
    EXPECT_EQ(o.toasts, *c.toast ? QStringList{QString::fromUtf8(c.toast)} : QStringList{});
    ASSERT_EQ(o.logs.size(), 1);
    EXPECT_EQ(o.logs[0], QStringLiteral("capture source=%1 px=1200x800").arg(captureSourceName(c.source)));
}

constexpr auto E = AfterCropShow::editor;
constexpr auto T = AfterCropShow::thumbnail;
using S = CaptureSource;

INSTANTIATE_TEST_SUITE_P(
    Settings, ResultHandlingTable,
    ::testing::Values(
        ResultCase{"defaults", true, false, false, true, E, S::fullscreen, 0, 0, 1, 0, ""},
        ResultCase{"areaThumbnail", true, false, false, true, T, S::area, 0, 0, 1, 1, ""},
        ResultCase{"windowIgnoresThumbnail", true, false, false, true, T, S::window, 0, 0, 1, 0, ""},
        ResultCase{"scrollingIgnoresThumbnail", true, false, false, true, T, S::scrolling, 0, 0, 1, 0, ""},
        ResultCase{"copyOnly", false, true, false, true, E, S::area, 1, 0, 0, 0, "Screenshot copied"},
        ResultCase{"copyAndSave", false, true, true, true, E, S::window, 1, 1, 0, 0,
                   "Screenshot copied · saved Pictro 2026-12-08 at 08.00.00.png"},
        ResultCase{"saveOnly", false, false, true, true, E, S::fullscreen, 0, 1, 0, 0,
                   "Screenshot saved Pictro 2026-12-08 at 08.00.00.png"},
        ResultCase{"nothingStillCopies", false, false, false, true, E, S::fullscreen, 1, 0, 0, 0,
                   "Screenshot copied to clipboard"},
        ResultCase{"failedSaveFallsBackToClipboard", false, false, true, false, E, S::area, 1, 1, 0, 0,
                   "Screenshot copied to clipboard"},
        ResultCase{"showWithCopyAndSave", true, true, true, true, E, S::area, 1, 1, 1, 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CaptureGeometry, CropFormulaFlipsAgainstTheImageHeight) {
    // 100 × 50 points at (10, 20) on a 2× screen whose picture is 2000 pixels high.
    EXPECT_EQ(capturegeometry::cropRect(QRectF(10, 20, 100, 50), 2.0, 2000), QRect(20, 1860, 200, 100));
    // Fractional points round outwards.
    EXPECT_EQ(capturegeometry::cropRect(QRectF(0.25, 0.25, 10, 10), 1.0, 100), QRect(0, 89, 11, 11));
    EXPECT_EQ(capturegeometry::clippedCrop(QRect(-10, -10, 30, 30), QSize(100, 100)), QRect(0, 0, 20, 20));
    EXPECT_EQ(capturegeometry::clippedCrop(QRect(200, 0, 10, 10), QSize(100, 100)), std::nullopt);
}

TEST(CaptureGeometry, AreasFarBeyondAnyScreenClipToTheImage) {
    const double inf = std::numeric_limits<double>::infinity();
    for (const QRectF& huge : {QRectF(0, 0, 3e9, 3e9), QRectF(0, 0, inf, inf),
                               QRectF(10, 10, 2147483647, 2147483647), QRectF(-3e9, -3e9, 6e9, 6e9)}) {
        const QRect crop = capturegeometry::cropRect(huge, 2.0, 1000);
        EXPECT_EQ(capturegeometry::clippedCrop(crop, QSize(1600, 1000)),
                  QRect(huge.x() > 0 ? 20 : 0, 0, huge.x() > 0 ? 1580 : 1600, huge.y() > 0 ? 980 : 1000))
            << huge.x() << "," << huge.width();
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(capturegeometry::clippedCrop(capturegeometry::cropRect(QRectF(nan, nan, nan, nan), 1.0, 100),
                                           QSize(100, 100)),
              std::nullopt);
}

TEST(CaptureGeometry, ScreenUnderTheMouseUsesHalfOpenFrames) {
    ScreenInfo left, right;
    left.frame = QRectF(0, 0, 1920, 1080);
    left.name = QStringLiteral("L");
    right.frame = QRectF(1920, 0, 1920, 1080);
    right.name = QStringLiteral("R");
    const std::vector<ScreenInfo> screens{left, right};
    EXPECT_EQ(capturegeometry::screenUnderMouse(screens, {1920, 500}, left)->name, QStringLiteral("R"));
    EXPECT_EQ(capturegeometry::screenUnderMouse(screens, {1919.5, 500}, right)->name, QStringLiteral("L"));
    EXPECT_EQ(capturegeometry::screenUnderMouse(screens, {100, 1080}, right)->name, QStringLiteral("R"))
        << "the top edge is outside: the main screen answers";
    EXPECT_EQ(capturegeometry::screenUnderMouse(screens, {-5, -5}, std::nullopt)->name, QStringLiteral("L"));
    EXPECT_EQ(capturegeometry::screenUnderMouse({}, {0, 0}, std::nullopt), std::nullopt);
}

TEST(CaptureGeometry, RepeatedAreaFindsItsScreenOrNothing) {
    ScreenInfo a, b;
    a.frame = QRectF(0, 0, 1440, 900);
    b.frame = QRectF(1440, 0, 1920, 1080);
    const auto target = capturegeometry::repeatTarget({a, b}, QRectF(1500, 100, 200, 100));
    ASSERT_TRUE(target);
    EXPECT_EQ(target->screen.frame, b.frame);
    EXPECT_EQ(target->rectInScreen, QRectF(60, 100, 200, 100));
    EXPECT_EQ(capturegeometry::repeatTarget({a}, QRectF(1500, 100, 200, 100)), std::nullopt)
        << "the screen that held it is gone";
}

TEST(CaptureGeometry, OpenedImagesNeverGetAScaleBelowOne) {
    EXPECT_EQ(capturegeometry::openedImageScale(200, 100), 2.0);
    EXPECT_EQ(capturegeometry::openedImageScale(200, 400), 1.0);
    EXPECT_EQ(capturegeometry::openedImageScale(200, 0), 1.0);
}

} // namespace
