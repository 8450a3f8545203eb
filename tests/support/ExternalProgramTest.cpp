// The one way tests start programs: a missing program is named in one line that says what to do.
#include "support/ExternalProgram.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

TEST(ExternalProgram, AMissingProgramFailsTheTestWithOneLineSayingWhatToInstall) {
    EXPECT_NONFATAL_FAILURE(
        EXPECT_FALSE(testsupport::requireProgram(QStringLiteral("pictro-no-such-program"))),
        "pictro-no-such-program is not installed: scripts/install-deps must install it");
    QProcess process;
    EXPECT_NONFATAL_FAILURE(
        EXPECT_FALSE(testsupport::startProgram(process, QStringLiteral("/nonexistent/pictro-tool"))),
        "pictro-tool is not installed: scripts/install-deps must install it");
    EXPECT_NONFATAL_FAILURE(testsupport::runProgram(QStringLiteral("pictro-no-such-program"), {}),
                            "is not installed");
}

TEST(ExternalProgram, RunsAProgramToItsEndWithItsOutputAndExitCode) {
    const testsupport::ProgramRun run = testsupport::runProgram(
        QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("echo out; echo err >&2; exit 3")});
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_FALSE(run.ok());
    EXPECT_EQ(run.text(), QStringLiteral("out"));
    EXPECT_EQ(run.err, QByteArray("err\n"));
    // One that outlives its time is stopped and reported as unfinished.
    EXPECT_FALSE(testsupport::runProgram(QStringLiteral("sleep"), {QStringLiteral("5")}, 200).finished);
}

} // namespace
