#include "app/SingleInstance.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtConcurrent>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>

#include <gtest/gtest.h>

using namespace singleinstance;

namespace {

TEST(SingleInstanceWire, RequestsRoundTrip) {
    const QStringList links{QStringLiteral("pictro://capture?type=area"), QStringLiteral("pictro://x y\nz")};
    const auto open = parseRequest(requestText(links));
    ASSERT_TRUE(open);
    EXPECT_FALSE(open->reopen);
    ASSERT_EQ(open->links.size(), 2);
    EXPECT_EQ(open->links[0], links[0]);
    EXPECT_EQ(open->links[1], QStringLiteral("pictro://x%20y%0Az"));
    const auto reopen = parseRequest(requestText({}));
    ASSERT_TRUE(reopen);
    EXPECT_TRUE(reopen->reopen);
    const auto actions = parseRequest(actionRequestText({QStringLiteral("area"), QStringLiteral("repeat-area")}));
    ASSERT_TRUE(actions);
    EXPECT_EQ(actions->actions, (QStringList{QStringLiteral("area"), QStringLiteral("repeat-area")}));
    EXPECT_TRUE(actions->links.isEmpty());
    for (const char* bad : {"", "end\n", "pictro 1\naction\nend\n", "pictro 2\nreopen\nend\n", "pictro 1\nreopen\nextra\nend\n",
                            "pictro 1\nopen\nbad link\nend\n", "pictro 1\ndelete\nend\n", "garbage"})
        EXPECT_FALSE(parseRequest(QByteArray(bad))) << bad;
}

class ServerTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("pictro.sock"));
    Server server;

    Forward forwardInBackground(const QStringList& links) {
        auto future = QtConcurrent::run([p = path, links] { return forward(p, links); });
        EXPECT_TRUE(testsupport::waitUntil([&] { return future.isFinished(); }));
        return future.result();
    }
};

TEST_F(ServerTest, ASecondLaunchHandsItsLinksOrAReopenToTheRunningOne) {
    ASSERT_TRUE(server.listen(path));
    EXPECT_EQ(QFile::permissions(path) & (QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ReadGroup),
              QFileDevice::Permissions()) << "only the user may connect";
    QSignalSpy links(&server, &Server::linksReceived);
    QSignalSpy reopen(&server, &Server::reopenRequested);
    EXPECT_EQ(forwardInBackground({QStringLiteral("pictro://ocr"), QStringLiteral("pictro://clipboard")}), Forward::handed);
    ASSERT_TRUE(testsupport::waitUntil([&] { return links.count() == 1; }));
    EXPECT_EQ(links.at(0).at(0).toStringList(),
              (QStringList{QStringLiteral("pictro://ocr"), QStringLiteral("pictro://clipboard")}));
    EXPECT_EQ(forwardInBackground({}), Forward::handed);
    ASSERT_TRUE(testsupport::waitUntil([&] { return reopen.count() == 1; }));
    QSignalSpy actions(&server, &Server::actionsReceived);
    auto future = QtConcurrent::run([p = path] { return forwardActions(p, {QStringLiteral("ocr")}); });
    ASSERT_TRUE(testsupport::waitUntil([&] { return future.isFinished() && actions.count() == 1; }));
    EXPECT_EQ(future.result(), Forward::handed);
    EXPECT_EQ(actions.at(0).at(0).toStringList(), QStringList{QStringLiteral("ocr")});
    EXPECT_EQ(links.count(), 1) << "actions are no links";
}

TEST_F(ServerTest, WithoutAnInstanceNothingIsForwarded) { EXPECT_EQ(forward(path, {}), Forward::noInstance); }

TEST_F(ServerTest, AStaleSocketFileIsReplaced) {
    // A socket bound and abandoned, as a crashed instance leaves it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(forward(path, {}), Forward::noInstance);
    ASSERT_TRUE(server.listen(path));
    EXPECT_EQ(forwardInBackground({}), Forward::handed);
}

TEST_F(ServerTest, GarbageAndOversizedRequestsAreDroppedWithoutHarm) {
    ASSERT_TRUE(server.listen(path));
    QSignalSpy links(&server, &Server::linksReceived);
    for (const QByteArray& garbage : {QByteArray("\x00\xff\xfe\nend\n", 8), QByteArray("pictro 1\nopen\n\x01\nend\n"),
                                      QByteArray(Server::maxRequestBytes + 4096, 'x')}) {
        QLocalSocket socket;
        socket.connectToServer(path);
        ASSERT_TRUE(socket.waitForConnected(2000));
        socket.write(garbage);
        socket.waitForBytesWritten(2000);
        testsupport::waitUntil([&] { return socket.state() == QLocalSocket::UnconnectedState; }, 3000);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(links.count(), 0);
    // The server still answers proper requests afterwards.
    EXPECT_EQ(forwardInBackground({QStringLiteral("pictro://ocr")}), Forward::handed);
}

} // namespace
