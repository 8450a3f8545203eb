#include "app/SingleInstance.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtConcurrent>

#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

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
    const auto actions =
        parseRequest(actionRequestText({QStringLiteral("area"), QStringLiteral("repeat-area")}));
    ASSERT_TRUE(actions);
    EXPECT_EQ(actions->actions, (QStringList{QStringLiteral("area"), QStringLiteral("repeat-area")}));
    EXPECT_TRUE(actions->links.isEmpty());
    for (const char* bad :
         {"", "end\n", "pictro 1\naction\nend\n", "pictro 2\nreopen\nend\n", "pictro 1\nreopen\nextra\nend\n",
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
    EXPECT_EQ(QFile::permissions(path) &
                  (QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ReadGroup),
              QFileDevice::Permissions())
        << "only the user may connect";
    QSignalSpy links(&server, &Server::linksReceived);
    QSignalSpy reopen(&server, &Server::reopenRequested);
    EXPECT_EQ(forwardInBackground({QStringLiteral("pictro://ocr"), QStringLiteral("pictro://clipboard")}),
              Forward::handed);
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

TEST_F(ServerTest, WithoutAnInstanceNothingIsForwarded) {
    EXPECT_EQ(forward(path, {}), Forward::noInstance);
}

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
    for (const QByteArray& garbage :
         {QByteArray("\x00\xff\xfe\nend\n", 8), QByteArray("pictro 1\nopen\n\x01\nend\n"),
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

// A raw client connection, as another launch makes it; -1 when none could be made.
int connectRaw(const QString& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

long residentKiB() {
    const QString status = testsupport::readFile(QStringLiteral("/proc/self/status"));
    const qsizetype at = status.indexOf(QStringLiteral("VmRSS:"));
    return at < 0 ? -1 : status.mid(at + 6).trimmed().split(QLatin1Char(' ')).first().toLong();
}

TEST_F(ServerTest, RunningOutOfDescriptorsPausesTheServiceWithoutEndingIt) {
    ASSERT_TRUE(server.listen(path));
    // Clients wait in the backlog while every descriptor of the process is taken.
    std::vector<int> clients;
    for (int i = 0; i < 8; ++i)
        clients.push_back(connectRaw(path));
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &old), 0);
    rlimit tight = old;
    tight.rlim_cur = 256;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
    std::vector<int> hoard;
    for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
        hoard.push_back(fd);
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(QFile::exists(path)) << "the socket went with the failed accept";

    for (int fd : hoard)
        ::close(fd);
    for (int fd : clients)
        ::close(fd);
    setrlimit(RLIMIT_NOFILE, &old);
    QSignalSpy links(&server, &Server::linksReceived);
    EXPECT_EQ(forwardInBackground({QStringLiteral("pictro://ocr")}), Forward::handed);
    EXPECT_TRUE(testsupport::waitUntil([&] { return links.count() == 1; }));
}

TEST_F(ServerTest, ManyUnfinishedRequestsTogetherHoldLittleMemory) {
#if defined(__SANITIZE_ADDRESS__) || defined(PICTRO_SANITIZE)
    GTEST_SKIP() << "AddressSanitizer's shadow memory and quarantine swell the resident size this measures";
#endif
    ASSERT_TRUE(server.listen(path));
    const long before = residentKiB();
    // Sixteen clients each send almost 1 MiB, within one request's limit, and never finish.
    std::vector<std::thread> senders;
    std::atomic<int> finished{0};
    for (int i = 0; i < 16; ++i)
        senders.emplace_back([&] {
            const int fd = connectRaw(path);
            const QByteArray chunk(64 * 1024, 'x');
            for (qint64 sent = 0; fd >= 0 && sent + chunk.size() <= 1000 * 1024;) {
                const ssize_t n =
                    ::send(fd, chunk.constData(), static_cast<size_t>(chunk.size()), MSG_NOSIGNAL);
                if (n <= 0) break;
                sent += n;
            }
            ++finished;
            QThread::msleep(500); // held open while the server reads
            if (fd >= 0) ::close(fd);
        });
    testsupport::waitUntil([&] { return finished == 16; }, 10000);
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const long grown = residentKiB() - before;
    for (auto& t : senders)
        t.join();
    EXPECT_LT(grown, 12 * 1024) << "KiB held by unfinished requests";
    EXPECT_EQ(forwardInBackground({QStringLiteral("pictro://ocr")}), Forward::handed);
}

} // namespace
