#include "app/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace singleinstance {
namespace {

constexpr char header[] = "pictro 1";
constexpr int clientTimeoutMs = 3000;

QString displayTag() {
    QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty()) display = QStringLiteral("none");
    QString tag;
    for (QChar c : display)
        tag += c.isLetterOrNumber() ? c : QLatin1Char('_');
    return tag;
}

bool waitFor(int fd, short events, int timeoutMs) {
    pollfd p{fd, events, 0};
    int r;
    do {
        r = ::poll(&p, 1, timeoutMs);
    } while (r < 0 && errno == EINTR);
    return r > 0 && (p.revents & events);
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        if (!waitFor(fd, POLLOUT, clientTimeoutMs)) return false;
        const ssize_t n =
            ::send(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

bool peerIsThisUser(int fd) {
    ucred cred{};
    socklen_t len = sizeof cred;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0) return false;
    return cred.uid == ::getuid();
}

} // namespace

QString socketPath() {
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty()) dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir + QStringLiteral("/pictro-") + displayTag() + QStringLiteral(".sock");
}

QByteArray requestText(const QStringList& links) {
    QByteArray text = QByteArray(header) + '\n';
    if (links.isEmpty()) {
        text += "reopen\n";
    } else {
        text += "open\n";
        for (const QString& link : links)
            text += QUrl::toPercentEncoding(link, "!#$&'()*+,/:;=?@[]~%") + '\n';
    }
    return text + "end\n";
}

QByteArray actionRequestText(const QStringList& actions) {
    QByteArray text = QByteArray(header) + "\naction\n";
    for (const QString& action : actions)
        text += QUrl::toPercentEncoding(action) + '\n';
    return text + "end\n";
}

std::optional<Request> parseRequest(const QByteArray& text) {
    if (!text.endsWith("\nend\n")) return std::nullopt;
    QList<QByteArray> lines = text.left(text.size() - 1).split('\n');
    if (lines.size() < 3 || lines.first() != header || lines.last() != "end") return std::nullopt;
    Request request;
    const QByteArray& verb = lines[1];
    if (verb == "reopen" && lines.size() == 3) {
        request.reopen = true;
        return request;
    }
    if (verb != "open" && verb != "action") return std::nullopt;
    QStringList& items = verb == "open" ? request.links : request.actions;
    for (qsizetype i = 2; i + 1 < lines.size(); ++i) {
        for (char c : lines[i])
            if (static_cast<unsigned char>(c) < 0x21 || static_cast<unsigned char>(c) > 0x7e)
                return std::nullopt;
        items << QString::fromLatin1(lines[i]);
    }
    if (verb == "action" && items.isEmpty()) return std::nullopt;
    return request;
}

static bool socketAddress(const QString& path, sockaddr_un& address) {
    const QByteArray name = QFile::encodeName(path);
    address = sockaddr_un{};
    if (static_cast<size_t>(name.size()) >= sizeof address.sun_path) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    return true;
}

// A connected socket, -1 when nobody listens on `path` (no file, or one left by a crash), or -2
// when the path cannot be used at all.
static int connectTo(const QString& path) {
    sockaddr_un address;
    if (!socketAddress(path, address)) return -2;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -2;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// A socket bound to `path` and listening, readable by this user only; -1 with errno set.
static int bindListening(const QString& path) {
    sockaddr_un address;
    if (!socketAddress(path, address)) {
        errno = ENAMETOOLONG;
        return -1;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    // Nobody can connect before listen(), so the mode is set in time.
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

static Forward send(const QString& path, const QByteArray& request) {
    const int fd = connectTo(path);
    if (fd == -1) return Forward::noInstance;
    if (fd < 0) return Forward::failed;
    Forward result = Forward::failed;
    if (writeAll(fd, request) && waitFor(fd, POLLIN, clientTimeoutMs)) {
        char answer[8] = {};
        if (::recv(fd, answer, sizeof answer - 1, 0) >= 2 && std::strncmp(answer, "ok", 2) == 0)
            result = Forward::handed;
    }
    ::close(fd);
    return result;
}

Forward forward(const QString& path, const QStringList& links) {
    return send(path, requestText(links));
}

Forward forwardActions(const QString& path, const QStringList& actions) {
    return send(path, actionRequestText(actions));
}

Server::Server(QObject* parent) : QObject(parent), m_retry(new QTimer(this)) {
    m_retry->setSingleShot(true);
    m_retry->setInterval(exhaustedRetryMs);
    connect(m_retry, &QTimer::timeout, this, [this] {
        if (m_notifier) m_notifier->setEnabled(true);
        acceptPending();
    });
}

Server::~Server() {
    closeListener();
}

QString Server::path() const {
    return m_path;
}

void Server::closeListener() {
    if (m_fd < 0) return;
    delete m_notifier;
    m_notifier = nullptr;
    ::close(m_fd);
    m_fd = -1;
    ::unlink(QFile::encodeName(m_path).constData());
}

bool Server::listen(const QString& path) {
    closeListener();
    int fd = bindListening(path);
    if (fd < 0 && errno == EADDRINUSE) {
        // The file exists: either another instance answers on it, or it was left behind by a crash.
        const int probe = connectTo(path);
        if (probe >= 0) ::close(probe);
        if (probe != -1) return false;
        ::unlink(QFile::encodeName(path).constData());
        fd = bindListening(path);
    }
    if (fd < 0) return false;
    m_fd = fd;
    m_path = path;
    m_notifier = new QSocketNotifier(static_cast<qintptr>(fd), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &Server::acceptPending);
    return true;
}

void Server::acceptPending() {
    while (m_fd >= 0) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            m_exhaustionSaid = false;
            serve(fd);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED) continue;
        if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) pauseAccepting();
        return; // EAGAIN: nothing more waiting
    }
}

void Server::pauseAccepting() {
    // The connection stays in the backlog; the readable socket would wake us at once, so wait.
    if (m_notifier) m_notifier->setEnabled(false);
    m_retry->start();
    if (m_exhaustionSaid) return;
    m_exhaustionSaid = true;
    std::fprintf(
        stderr,
        "Pictro: no file descriptors left to accept link requests on %s; waiting for some to be freed\n",
        qPrintable(m_path));
    std::fflush(stderr);
}

// One accepted connection, read as it becomes readable until its request is complete. Plain
// descriptor reads under a notifier: a socket class would bring a whole network library (and its
// security and proxy libraries) into every start of the program for these few bytes.
class Server::Connection : public QObject {
  public:
    Connection(Server* server, int fd)
        : QObject(server), m_server(server), m_fd(fd), m_notifier(fd, QSocketNotifier::Read) {
        connect(&m_notifier, &QSocketNotifier::activated, this, &Connection::readAvailable);
        // A client that never finishes its request is dropped.
        QTimer::singleShot(requestTimeoutMs, this, &Connection::close);
    }
    ~Connection() override {
        // Also while the server itself is destroyed, when the guard is already empty.
        if (m_server) m_server->m_pendingBytes -= m_buffer.size();
        ::close(m_fd);
    }

  private:
    void readAvailable() {
        char chunk[16384];
        for (;;) {
            const ssize_t n = ::recv(m_fd, chunk, sizeof chunk, 0);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
            if (n <= 0) return close(); // the client went away before its request was complete
            if (m_buffer.size() + n > maxRequestBytes || m_server->m_pendingBytes + n > maxPendingBytes)
                return close();
            m_buffer.append(chunk, n);
            m_server->m_pendingBytes += n;
            if (m_buffer.endsWith("\nend\n")) return answer();
        }
    }
    void answer() {
        const auto request = parseRequest(m_buffer);
        if (request) writeAll(m_fd, "ok\n");
        QPointer<Server> server = m_server;
        close();
        if (!request || !server) return;
        // Handled once this notifier's slot has returned: an action may run a dialog's event loop.
        QTimer::singleShot(0, server, [server, request = *request] {
            if (request.reopen)
                emit server->reopenRequested();
            else if (!request.actions.isEmpty())
                emit server->actionsReceived(request.actions);
            else
                emit server->linksReceived(request.links);
        });
    }
    void close() {
        m_notifier.setEnabled(false);
        deleteLater();
    }

    QPointer<Server> m_server;
    int m_fd;
    QSocketNotifier m_notifier;
    QByteArray m_buffer;
};

void Server::serve(int fd) {
    if (!peerIsThisUser(fd)) {
        ::close(fd);
        return;
    }
    new Connection(this, fd);
}

} // namespace singleinstance
