// The desktop portal's Screenshot under a real compositor: the picture it gives against grim's of
// the same moment, and each way it can fail, each followed by a capture that works.
#include "platform/wayland/PortalScreenshot.h"
#include "WaylandSession.h"
#include "support/TestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <csignal>
#include <optional>

using testsupport::waitUntil;

namespace {

std::optional<ScreenshotOutcome> take(const PortalScreenshot::Options& options = {}) {
    std::optional<ScreenshotOutcome> outcome;
    int answers = 0;
    PortalScreenshot::take(QDBusConnection::sessionBus(), options, [&](const ScreenshotOutcome& o) {
        outcome = o;
        ++answers;
    });
    waitUntil([&] { return outcome.has_value(); }, 20000);
    // Exactly one answer, even when the portal answers after the timeout.
    waitUntil([] { return false; }, 100);
    EXPECT_LE(answers, 1);
    return outcome;
}

} // namespace

TEST(PortalScreenshot, GivesTheDesktopAsGrimSeesItAndRemovesThePortalsFile) {
    waylandsession::PatternWindow pattern;
    const auto outcome = take();
    ASSERT_TRUE(outcome.has_value());
    ASSERT_FALSE(outcome->failure.has_value()) << outcome->detail.toStdString();
    const QImage expected = waylandsession::grim();
    ASSERT_FALSE(expected.isNull());
    ASSERT_NE(expected.pixel(100, 100), expected.pixel(101, 100)) << "the pattern is not on screen";
    EXPECT_EQ(outcome->image.convertToFormat(QImage::Format_RGB32), expected);
    // The wlroots portal leaves its picture in the temporary folder; nothing of it stays there.
    EXPECT_FALSE(QFile::exists(QStringLiteral("/tmp/out.png")));
}

TEST(PortalScreenshot, EachFailureIsItsOwnValueAndTheNextCaptureWorks) {
    PortalScreenshot::Options missing;
    missing.service = QStringLiteral("org.freedesktop.portal.NotOnThisDesktop");
    const auto none = take(missing);
    ASSERT_TRUE(none.has_value());
    EXPECT_EQ(none->failure, ScreenshotFailure::portalMissing);
    EXPECT_TRUE(none->image.isNull());

    PortalScreenshot::Options hurried;
    hurried.timeoutMs = 1; // the real portal needs longer than that
    const auto late = take(hurried);
    ASSERT_TRUE(late.has_value());
    EXPECT_EQ(late->failure, ScreenshotFailure::timedOut);

    // A portal whose backend never answers: the request is given up, not waited on for ever.
    const uint backend = QDBusConnection::sessionBus()
                             .interface()
                             ->servicePid(QStringLiteral("org.freedesktop.impl.portal.desktop.wlr"))
                             .value();
    ASSERT_GT(backend, 0u);
    ::kill(static_cast<pid_t>(backend), SIGSTOP);
    PortalScreenshot::Options patient;
    patient.timeoutMs = 2000;
    const auto stalled = take(patient);
    ::kill(static_cast<pid_t>(backend), SIGCONT);
    ASSERT_TRUE(stalled.has_value());
    EXPECT_EQ(stalled->failure, ScreenshotFailure::timedOut);

    const auto next = take();
    ASSERT_TRUE(next.has_value());
    EXPECT_FALSE(next->failure.has_value()) << next->detail.toStdString();
    EXPECT_FALSE(next->image.isNull());
}

TEST(PortalScreenshot, AnswersWithoutAPictureAreFailuresNotImages) {
    QTemporaryDir dir;
    const QString notImage = dir.filePath(QStringLiteral("shot.png"));
    QFile f(notImage);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();

    struct Case {
        uint response;
        QString uri;
        ScreenshotFailure expected;
    };
    const Case cases[] = {
        {1, QString(), ScreenshotFailure::denied},
        {2, QString(), ScreenshotFailure::cancelled},
        {0, QStringLiteral("https://example.invalid/shot.png"), ScreenshotFailure::unreadable},
        {0, QUrl::fromLocalFile(dir.filePath(QStringLiteral("gone.png"))).toString(),
         ScreenshotFailure::unreadable},
        {0, QUrl::fromLocalFile(notImage).toString(), ScreenshotFailure::unreadable},
    };
    for (const Case& c : cases) {
        const ScreenshotOutcome outcome = PortalScreenshot::fromAnswer(c.response, c.uri);
        EXPECT_EQ(outcome.failure, c.expected) << c.response << " " << c.uri.toStdString();
        EXPECT_TRUE(outcome.image.isNull());
    }
}
