#include "app/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
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
    for (QChar c : display) tag += c.isLetterOrNumber() ? c : QLatin1Char('_');
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
        const ssize_t n = ::send(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

bool peerIsThisUser(QLocalSocket* socket) {
    ucred cred{};
    socklen_t len = sizeof cred;
    if (::getsockopt(static_cast<int>(socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0)
        return false;
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
        for (const QString& link : links) text += QUrl::toPercentEncoding(link, "!#$&'()*+,/:;=?@[]~%") + '\n';
    }
    return text + "end\n";
}

QByteArray actionRequestText(const QStringList& actions) {
    QByteArray text = QByteArray(header) + "\naction\n";
    for (const QString& action : actions) text += QUrl::toPercentEncoding(action) + '\n';
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
            if (static_cast<unsigned char>(c) < 0x21 || static_cast<unsigned char>(c) > 0x7e) return std::nullopt;
        items << QString::fromLatin1(lines[i]);
    }
    if (verb == "action" && items.isEmpty()) return std::nullopt;
    return request;
}

// A connected socket, -1 when nobody listens on `path` (no file, or one left by a crash), or -2
// when the path cannot be used at all.
static int connectTo(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    if (static_cast<size_t>(name.size()) >= sizeof address.sun_path) return -2;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -2;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
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
        if (::recv(fd, answer, sizeof answer - 1, 0) >= 2 && std::strncmp(answer, "ok", 2) == 0) result = Forward::handed;
    }
    ::close(fd);
    return result;
}

Forward forward(const QString& path, const QStringList& links) { return send(path, requestText(links)); }

Forward forwardActions(const QString& path, const QStringList& actions) {
    return send(path, actionRequestText(actions));
}

Server::Server(QObject* parent) : QObject(parent), m_server(new QLocalServer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &Server::accept);
}

QString Server::path() const { return m_server->fullServerName(); }

bool Server::listen(const QString& path) {
    if (m_server->listen(path)) return true;
    if (m_server->serverError() != QAbstractSocket::AddressInUseError) return false;
    // The file exists: either another instance answers on it, or it was left behind by a crash.
    const int probe = connectTo(path);
    if (probe >= 0) ::close(probe);
    if (probe != -1) return false;
    QLocalServer::removeServer(path);
    return m_server->listen(path);
}

void Server::accept() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        if (!peerIsThisUser(socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto* buffer = new QByteArray;
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] {
            *buffer += socket->readAll();
            if (buffer->size() > maxRequestBytes) {
                socket->abort();
                return;
            }
            if (!buffer->endsWith("\nend\n")) return;
            const auto request = parseRequest(*buffer);
            buffer->clear();
            if (request) socket->write("ok\n");
            socket->disconnectFromServer();
            if (!request) return;
            if (request->reopen)
                emit reopenRequested();
            else if (!request->actions.isEmpty())
                emit actionsReceived(request->actions);
            else
                emit linksReceived(request->links);
        });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [buffer] { delete buffer; });
        // A client that never finishes its request is dropped.
        QTimer::singleShot(requestTimeoutMs, socket, [socket] { socket->abort(); });
    }
}

} // namespace singleinstance
