#include "app/PlatformChoice.h"
#include "app/PlatformLoader.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct SessionCase {
    const char* what;
    platformchoice::Session session;
    QStringList built;
    const char* backend;   // "" when none fits
    const char* errorPart; // a piece of the one-line error, "" when a backend fits
};

const QStringList both{QStringLiteral("x11"), QStringLiteral("wayland")};
const QStringList x11Only{QStringLiteral("x11")};
const QStringList waylandOnly{QStringLiteral("wayland")};

class PlatformChoiceTable : public ::testing::TestWithParam<SessionCase> {};

TEST_P(PlatformChoiceTable, PicksTheSessionsBackendOrSaysWhyNot) {
    const SessionCase& c = GetParam();
    const platformchoice::Choice choice = platformchoice::choose(c.session, c.built);
    EXPECT_EQ(choice.backend, QString::fromUtf8(c.backend)) << c.what;
    if (*c.errorPart) {
        EXPECT_TRUE(choice.error.contains(QString::fromUtf8(c.errorPart)))
            << c.what << ": " << qPrintable(choice.error);
        EXPECT_FALSE(choice.error.contains(QLatin1Char('\n'))) << "one line";
    } else {
        EXPECT_TRUE(choice.error.isEmpty()) << c.what;
    }
}

// Session fields: requested, XDG_SESSION_TYPE, WAYLAND_DISPLAY, DISPLAY.
INSTANTIATE_TEST_SUITE_P(
    Sessions, PlatformChoiceTable,
    ::testing::Values(
        SessionCase{"x11 session", {"", "x11", "", ":0"}, both, "x11", ""},
        SessionCase{"wayland session with Xwayland", {"", "wayland", "wayland-0", ":0"}, both, "wayland", ""},
        SessionCase{"wayland session, no wayland backend",
                    {"", "wayland", "wayland-0", ":0"},
                    x11Only,
                    "",
                    "Wayland support is not built"},
        SessionCase{
            "session type wins over stray variables", {"", "x11", "wayland-0", ":0"}, both, "x11", ""},
        SessionCase{"session type in capitals", {"", "Wayland", "wayland-0", ""}, both, "wayland", ""},
        SessionCase{
            "tty session over ssh with X forwarding", {"", "tty", "", "localhost:10.0"}, both, "x11", ""},
        SessionCase{"no session type, wayland socket", {"", "", "wayland-1", ":1"}, both, "wayland", ""},
        SessionCase{"no session type, only DISPLAY", {"", "", "", ":1"}, both, "x11", ""},
        SessionCase{
            "nothing to show on", {"", "tty", "", ""}, both, "", "neither WAYLAND_DISPLAY nor DISPLAY"},
        SessionCase{
            "x11 session, x11 not built", {"", "x11", "", ":0"}, waylandOnly, "", "X11 support is not built"},
        SessionCase{"request overrides the session", {"x11", "wayland", "wayland-0", ":0"}, both, "x11", ""},
        SessionCase{"request is case-blind", {" Wayland ", "x11", "", ":0"}, both, "wayland", ""},
        SessionCase{"request for a backend not built",
                    {"wayland", "x11", "", ":0"},
                    x11Only,
                    "",
                    "Wayland support is not built"},
        SessionCase{
            "request for no known backend", {"mir", "x11", "", ":0"}, both, "", "unknown platform \"mir\""}));

TEST(PlatformChoice, HeadlessQtPlatformsAreKeptAndEverythingElseFollowsTheBackend) {
    EXPECT_EQ(platformchoice::qtPlatform("", "xcb"), "xcb");
    EXPECT_EQ(platformchoice::qtPlatform("xcb", "wayland"), "wayland")
        << "a desktop-wide xcb would run on Xwayland";
    EXPECT_EQ(platformchoice::qtPlatform("wayland;xcb", "wayland"), "wayland");
    EXPECT_EQ(platformchoice::qtPlatform("offscreen", "xcb"), "offscreen");
    EXPECT_EQ(platformchoice::qtPlatform("minimal", "wayland"), "minimal");
}

TEST(PlatformLoader, TakesThePlatformOptionOutOfTheArguments) {
    struct Case {
        std::vector<const char*> args;
        const char* requested;
        std::vector<const char*> left;
    };
    const std::vector<Case> cases{
        {{"pictro", "--platform", "wayland", "pictro://ocr"}, "wayland", {"pictro", "pictro://ocr"}},
        {{"pictro", "--platform=x11"}, "x11", {"pictro"}},
        {{"pictro", "pictro://capture", "--check-permissions"},
         "",
         {"pictro", "pictro://capture", "--check-permissions"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> storage(c.args.begin(), c.args.end());
        std::vector<char*> argv;
        for (std::string& s : storage)
            argv.push_back(s.data());
        argv.push_back(nullptr);
        int argc = static_cast<int>(c.args.size());
        EXPECT_EQ(platformloader::takePlatformOption(argc, argv.data()), QString::fromUtf8(c.requested));
        ASSERT_EQ(argc, static_cast<int>(c.left.size()));
        for (int i = 0; i < argc; ++i)
            EXPECT_STREQ(argv[i], c.left[i]);
        EXPECT_EQ(argv[argc], nullptr);
    }
}

} // namespace
