#include "app/DeepLinks.h"

#include <gtest/gtest.h>

using deeplinks::Action;

namespace {

struct LinkCase {
    const char* link;
    std::optional<Action> expected;
};

class LinkParsing : public ::testing::TestWithParam<LinkCase> {};

TEST_P(LinkParsing, FollowsTheGrammar) {
    EXPECT_EQ(deeplinks::parse(QString::fromUtf8(GetParam().link)), GetParam().expected) << GetParam().link;
}

INSTANTIATE_TEST_SUITE_P(
    Links, LinkParsing,
    ::testing::Values(LinkCase{"pictro://capture", Action::areaCapture},
                      LinkCase{"pictro://capture?type=area", Action::areaCapture},
                      LinkCase{"pictro://capture?type=fullscreen", Action::fullscreenCapture},
                      LinkCase{"pictro://capture?type=window", Action::windowCapture},
                      LinkCase{"pictro://capture?type=scrolling", Action::scrollingCapture},
                      LinkCase{"pictro://capture?type=FULLSCREEN", Action::areaCapture},
                      LinkCase{"pictro://capture?type=", Action::areaCapture},
                      LinkCase{"pictro://capture?other=1&type=window&type=fullscreen", Action::windowCapture},
                      LinkCase{"pictro://capture?type=%66ullscreen", Action::fullscreenCapture},
                      LinkCase{"pictro://capture/some/path?type=fullscreen#frag", Action::fullscreenCapture},
                      LinkCase{"pictro://ocr", Action::textRecognition},
                      LinkCase{"pictro://clipboard", Action::clipboardImage},
                      LinkCase{"pictro://unknown", Action::nothing}, LinkCase{"pictro://", Action::nothing},
                      LinkCase{"pictro:capture", Action::nothing},
                      LinkCase{"pictro://CAPTURE", Action::nothing},
                      LinkCase{"PICTRO://capture", std::nullopt}, LinkCase{"https://capture", std::nullopt},
                      LinkCase{"capture", std::nullopt}, LinkCase{"", std::nullopt},
                      LinkCase{"\x01\x02pictro://capture", std::nullopt}));

struct Recorder {
    std::vector<Action> started;
    std::vector<QString> toasts;
    std::vector<QString> logged;
    deeplinks::Target target() {
        return {[this](Action a) { started.push_back(a); },
                [this](const QString& m, const QString&, double) { toasts.push_back(m); },
                [this](const QString& m) { logged.push_back(m); }};
    }
};

TEST(LinkRequests, ADisabledSchemeGivesOneToastAndNothingElse) {
    Recorder r;
    deeplinks::handleRequest(
        {QStringLiteral("pictro://capture?type=fullscreen"), QStringLiteral("pictro://ocr")}, false,
        r.target());
    EXPECT_EQ(r.toasts, std::vector<QString>{QStringLiteral("URL scheme is disabled in Advanced settings")});
    EXPECT_TRUE(r.started.empty());
    EXPECT_TRUE(r.logged.empty());
}

TEST(LinkRequests, EveryLinkOfTheSchemeIsLoggedAndOthersAreSkipped) {
    Recorder r;
    deeplinks::handleRequest({QStringLiteral("pictro://ocr"), QStringLiteral("https://example.org"),
                              QStringLiteral("pictro://unknown"), QStringLiteral("pictro://clipboard")},
                             true, r.target());
    EXPECT_EQ(r.started, (std::vector<Action>{Action::textRecognition, Action::clipboardImage}));
    EXPECT_EQ(r.logged, (std::vector<QString>{QStringLiteral("url-handled pictro://ocr"),
                                              QStringLiteral("url-handled pictro://unknown"),
                                              QStringLiteral("url-handled pictro://clipboard")}));
    EXPECT_TRUE(r.toasts.empty());
}

TEST(LinkRequests, LoggedTextIsOneLineEvenForHostileLinks) {
    Recorder r;
    QString hostile = QStringLiteral("pictro://x?a=") + QString(1 << 20, QLatin1Char('z')) +
                      QStringLiteral("\nfake line\r\x7f ü");
    hostile += QChar(0);
    deeplinks::handleRequest({hostile}, true, r.target());
    ASSERT_EQ(r.logged.size(), 1u);
    const QString& line = r.logged.front();
    EXPECT_FALSE(line.contains(QLatin1Char('\n')));
    EXPECT_FALSE(line.contains(QLatin1Char('\r')));
    ASSERT_TRUE(line.startsWith(QStringLiteral("url-handled ")));
    for (QChar c : line.mid(12))
        ASSERT_TRUE(c.unicode() > 0x20 && c.unicode() < 0x7f);
    EXPECT_TRUE(line.endsWith(QStringLiteral("%0Afake%20line%0D%7F%20%C3%BC%00")));
}

} // namespace
