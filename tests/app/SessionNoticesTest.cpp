#include "app/SessionNotices.h"

#include <gtest/gtest.h>

// A person on one desktop is never sent looking for the other one's settings.
TEST(SessionNotices, EachSessionIsSpokenOfInItsOwnWords) {
    for (const char* backend : {"wayland", "x11"}) {
        const QString name = QString::fromLatin1(backend);
        const sessionnotices::Notice refused = sessionnotices::screenRefused(name);
        const QString all = refused.toast + refused.detail + sessionnotices::screenUnavailable(name) +
                            sessionnotices::syntheticInputMissing(name);
        EXPECT_FALSE(refused.toast.isEmpty() || refused.detail.isEmpty()) << backend;
        const bool waylandWords = all.contains(QStringLiteral("portal"));
        const bool x11Words = all.contains(QStringLiteral("X11")) ||
                              all.contains(QStringLiteral("X server")) ||
                              all.contains(QStringLiteral("XTest"));
        EXPECT_EQ(waylandWords, name == QLatin1String("wayland")) << all.toStdString();
        EXPECT_EQ(x11Words, name == QLatin1String("x11")) << all.toStdString();
    }
    EXPECT_EQ(sessionnotices::sessionName(QStringLiteral("wayland")), QStringLiteral("Wayland"));
    EXPECT_EQ(sessionnotices::sessionName(QStringLiteral("x11")), QStringLiteral("X11"));
}
