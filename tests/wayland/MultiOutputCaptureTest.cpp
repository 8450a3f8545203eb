// Two outputs of different scales side by side: each output's capture, straight from the
// compositor or through the portal, holds the pixels grim reads from that output alone, at that
// output's own size.
#include "WaylandSession.h"
#include "platform/wayland/WaylandScreenCapture.h"
#include "platform/wayland/WaylandScreens.h"
#include "support/TestSupport.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtConcurrent>

#include <cstdio>

#include <gtest/gtest.h>

namespace {

// The mean difference per channel, in levels of 255.
double meanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum +=
                std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

} // namespace

using Way = WaylandScreenCapture::Way;
class MultiOutputCapture : public testing::TestWithParam<Way> {};

TEST_P(MultiOutputCapture, EachOutputHoldsWhatACaptureOfThatOutputAloneHolds) {
    waylandsession::PatternWindow pattern;
    WaylandScreens screens;
    WaylandScreenCapture capture(screens, {}, GetParam());
    const bool direct = GetParam() == Way::screencopyWhereOffered;
    ASSERT_EQ(capture.copiesFromCompositor(), direct) << "sway offers screen copy";
    const std::vector<ScreenInfo> outputs = screens.screens();
    ASSERT_EQ(outputs.size(), 2u);

    // Every output asked for at once: each read waits for the portal on a worker of its own.
    std::vector<QFuture<PixelsOrError>> shots;
    for (const ScreenInfo& s : outputs)
        shots.push_back(capture.captureDisplay(s));
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        while (!shots[i].isFinished())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        const PixelsOrError shot = shots[i].result();
        ASSERT_TRUE(std::holds_alternative<QImage>(shot)) << outputs[i].name.toStdString();
        const QImage own = waylandsession::grim(outputs[i].name);
        const QImage got = std::get<QImage>(shot);
        ASSERT_EQ(got.size(), own.size()) << outputs[i].name.toStdString();
        if (direct || outputs[i].scale == 2.0) {
            // Copied from the output itself, or cut out of a portal picture at its own density:
            // exactly as the output shows it.
            EXPECT_EQ(got, own) << outputs[i].name.toStdString();
        } else {
            // The compositor drew this output enlarged (and smoothed) into the portal's picture;
            // brought back down it is close to, not exactly, what the output shows. A cut one
            // logical pixel off would differ far more on this pattern.
            const double off = meanDifference(got, own.copy(1, 0, own.width(), own.height()));
            std::printf("%s: mean difference %.2f, one pixel off %.2f\n", qPrintable(outputs[i].name),
                        meanDifference(got, own), off);
            EXPECT_LT(meanDifference(got, own), 3.0) << outputs[i].name.toStdString();
            EXPECT_GT(off, 2 * meanDifference(got, own));
        }
    }
}

// A turned output's own buffer is not what it shows: such an output is taken the portal's way, and
// still holds what grim reads from it.
TEST(TurnedOutput, HoldsWhatItShows) {
    waylandsession::PatternWindow pattern;
    waylandsession::swaymsg({QStringLiteral("output"), QStringLiteral("HEADLESS-2"),
                             QStringLiteral("transform"), QStringLiteral("90")});
    const auto turned = [] {
        for (const QScreen* s : QGuiApplication::screens())
            if (s->name() == QLatin1String("HEADLESS-2"))
                return s->geometry().height() > s->geometry().width();
        return false;
    };
    ASSERT_TRUE(testsupport::waitUntil(turned, 5000));
    WaylandScreens screens;
    WaylandScreenCapture capture(screens);
    const std::vector<ScreenInfo> outputs = screens.screens();
    const auto output = std::find_if(outputs.begin(), outputs.end(), [](const ScreenInfo& s) {
        return s.name == QLatin1String("HEADLESS-2");
    });
    ASSERT_NE(output, outputs.end());
    QFuture<PixelsOrError> shot = capture.captureDisplay(*output);
    while (!shot.isFinished())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const PixelsOrError result = shot.result();
    ASSERT_TRUE(std::holds_alternative<QImage>(result));
    const QImage own = waylandsession::grim(QStringLiteral("HEADLESS-2"));
    EXPECT_EQ(own.size(), QSize(720, 1280));
    EXPECT_EQ(std::get<QImage>(result), own);
}

INSTANTIATE_TEST_SUITE_P(Ways, MultiOutputCapture,
                         testing::Values(Way::screencopyWhereOffered, Way::portalOnly),
                         [](const testing::TestParamInfo<Way>& info) {
                             return info.param == Way::screencopyWhereOffered ? "ScreenCopy" : "Portal";
                         });
