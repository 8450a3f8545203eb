#include "support/x11/TestWindow.h"

#include "support/ExternalProgram.h"
#include "support/TestSupport.h"
#include "support/x11/X11TestSupport.h"

#include <gtest/gtest.h>

TestWindow::TestWindow(const QStringList& args) {
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (!testsupport::startProgram(m_process, QStringLiteral(PICTRO_TEST_WINDOW_CLIENT), args)) return;
    testsupport::waitUntil(
        [this] { return m_process.canReadLine() || m_process.state() != QProcess::Running; }, 10000);
    bool ok = false;
    const quint32 id = QString::fromLatin1(m_process.readLine()).trimmed().toUInt(&ok);
    if (ok)
        m_id = id;
    else
        ADD_FAILURE() << "the test window did not show: " << args.join(QLatin1Char(' ')).toStdString();
}

TestWindow::~TestWindow() {
    close();
}

void TestWindow::close() {
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(testsupport::scaled(3000))) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
    // The X server hands a freed window id to the next client, so a window of the next test can
    // carry this id: wait until the window manager has let go of this one, or its stale entry in
    // the client list would stand for the new window.
    if (m_id) testsupport::waitUntil([this] { return !x11test::inClientList(m_id); });
}
