#include "app/CommandLine.h"

#include <gtest/gtest.h>

using namespace commandline;

namespace {

struct ParseCase {
    const char* name;
    std::vector<const char*> arguments;
    Mode mode;
    QList<Action> actions = {};
    QStringList links = {};
    const char* selfTestFolder = "";
    const char* errorPart = "";
};

class CommandLineParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CommandLineParse, ChoosesTheModeAndCollectsWhatItNeeds) {
    const ParseCase& c = GetParam();
    QStringList arguments{QStringLiteral("/usr/bin/pictro")};
    for (const char* a : c.arguments)
        arguments << QString::fromUtf8(a);
    const Invocation invocation = parse(arguments);
    EXPECT_EQ(invocation.mode, c.mode);
    EXPECT_EQ(invocation.actions, c.actions);
    EXPECT_EQ(invocation.links, c.links);
    EXPECT_EQ(invocation.selfTestFolder, QString::fromUtf8(c.selfTestFolder));
    if (c.mode == Mode::usageError) {
        EXPECT_TRUE(invocation.error.startsWith(QStringLiteral("Pictro: ")))
            << invocation.error.toStdString();
        EXPECT_TRUE(invocation.error.contains(QString::fromUtf8(c.errorPart)))
            << invocation.error.toStdString();
        EXPECT_FALSE(invocation.error.contains(QLatin1Char('\n'))) << "one line";
    }
}

const QString allActions = QStringLiteral("fullscreen, area, repeat-area, active-window, window, delayed, "
                                          "scrolling, ocr, open-file, clipboard, settings, show");

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineParse,
    ::testing::Values(
        ParseCase{"nothing", {}, Mode::application}, ParseCase{"help", {"--help"}, Mode::help},
        ParseCase{"shortHelp", {"-h"}, Mode::help}, ParseCase{"version", {"--version"}, Mode::version},
        ParseCase{
            "helpBeforeVersionAndPermissions", {"--check-permissions", "--version", "--help"}, Mode::help},
        ParseCase{"permissions",
                  {"pictro://ocr", "--check-permissions"},
                  Mode::checkPermissions,
                  {},
                  {"pictro://ocr"}},
        ParseCase{"selfTestAlone", {"--selftest"}, Mode::selfTest},
        ParseCase{"selfTestTakesTheNextArgument",
                  {"--selftest", "--check-permissions"},
                  Mode::selfTest,
                  {},
                  {},
                  "--check-permissions"},
        ParseCase{"selfTestWinsFromAnywhere",
                  {"--bogus", "--help", "--selftest", "/tmp/out"},
                  Mode::selfTest,
                  {},
                  {},
                  "/tmp/out"},
        ParseCase{"actionsInOrderWithLinks",
                  {"--action", "repeat-area", "pictro://ocr", "--action=show"},
                  Mode::application,
                  {Action::repeatArea, Action::show},
                  {"pictro://ocr"}},
        ParseCase{"uiTestFolderIsNoLink",
                  {"--uitest", "/tmp/ui", "pictro://clipboard"},
                  Mode::application,
                  {},
                  {"pictro://clipboard"}},
        ParseCase{"afterTheEndOfOptions", {"--", "--action"}, Mode::application, {}, {"--action"}},
        ParseCase{"unknownAction",
                  {"--action", "Area"},
                  Mode::usageError,
                  {},
                  {},
                  "",
                  "unknown action \"Area\"; the actions are: fullscreen, area, repeat-area"},
        ParseCase{"actionWithoutName", {"--action"}, Mode::usageError, {}, {}, "", "--action needs a name"},
        ParseCase{"unknownOption",
                  {"--help", "--frobnicate"},
                  Mode::usageError,
                  {},
                  {},
                  "",
                  "unknown option \"--frobnicate\"; the options are: --action NAME, --check-permissions"},
        ParseCase{
            "qtStyleOption", {"-platform", "offscreen"}, Mode::usageError, {}, {}, "", "\"-platform\""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLineText, EveryActionHasItsNameAndIsListedInTheHelp) {
    const QString help = helpText();
    EXPECT_EQ(actionNames(), allActions);
    for (const QString& name : allActions.split(QStringLiteral(", "))) {
        const auto action = actionNamed(name);
        ASSERT_TRUE(action) << name.toStdString();
        EXPECT_EQ(actionName(*action), name);
        EXPECT_TRUE(help.contains(QStringLiteral("\n  ") + name + QLatin1Char(' '))) << name.toStdString();
    }
    for (const char* option : {"--action NAME", "--check-permissions", "--selftest [FOLDER]",
                               "--uitest [FOLDER]", "--help", "--version"})
        EXPECT_TRUE(help.contains(QString::fromLatin1(option))) << option;
    EXPECT_TRUE(help.startsWith(QStringLiteral("Usage: pictro ")));
    EXPECT_TRUE(versionText().startsWith(QStringLiteral("Pictro 0.")));
}

} // namespace
