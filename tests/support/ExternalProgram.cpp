#include "support/ExternalProgram.h"

#include "support/TestSupport.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace testsupport {

QString findProgram(const QString& program) {
    if (QFileInfo(program).isAbsolute()) return QFileInfo(program).isExecutable() ? program : QString();
    return QStandardPaths::findExecutable(program);
}

bool requireProgram(const QString& program) {
    if (!findProgram(program).isEmpty()) return true;
    ADD_FAILURE() << QFileInfo(program).fileName().toStdString()
                  << " is not installed: scripts/install-deps must install it";
    return false;
}

bool startProgram(QProcess& process, const QString& program, const QStringList& args) {
    if (!requireProgram(program)) return false;
    process.start(findProgram(program), args);
    if (process.waitForStarted(scaled(5000))) return true;
    ADD_FAILURE() << program.toStdString() << " did not start: " << process.errorString().toStdString();
    return false;
}

ProgramRun runProgram(const QString& program, const QStringList& args, int timeoutMs) {
    ProgramRun run;
    QProcess process;
    if (!startProgram(process, program, args)) return run;
    waitUntil([&] { return process.state() == QProcess::NotRunning; }, timeoutMs);
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
        return run;
    }
    run.finished = process.exitStatus() == QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace testsupport
