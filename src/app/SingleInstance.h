#pragma once

#include <QObject>
#include <QStringList>

#include <optional>

class QLocalServer;
class QLocalSocket;

// One running Pictro per user and X display. The running instance listens on a local socket with
// user-only access in $XDG_RUNTIME_DIR; a later launch hands its links (or a plain reopen) to it.
//
// Wire format, one request per connection, every line ending in "\n":
//   "pictro 1", then "reopen", "open" followed by one line per link (percent-encoded, so a link
//   is always one line), or "action" followed by one action name per line; then "end". The
//   server answers "ok".
namespace singleinstance {

QString socketPath();

enum class Forward { handed, noInstance, failed };

// Sends the request to a running instance; blocking, with short timeouts, no event loop needed.
Forward forward(const QString& path, const QStringList& links);
// The same for actions of the command line (names as --action takes them).
Forward forwardActions(const QString& path, const QStringList& actions);

// The request text for the links (empty list: a reopen request).
QByteArray requestText(const QStringList& links);
// The request text for one or more actions.
QByteArray actionRequestText(const QStringList& actions);

struct Request {
    bool reopen = false;
    QStringList links;
    QStringList actions;
};
// Parses a complete request; none for anything malformed.
std::optional<Request> parseRequest(const QByteArray& text);

class Server : public QObject {
    Q_OBJECT
public:
    // Requests larger than this are dropped, so a misbehaving client cannot exhaust memory.
    static constexpr qint64 maxRequestBytes = 16 * 1024 * 1024;
    static constexpr int requestTimeoutMs = 5000;

    explicit Server(QObject* parent = nullptr);
    // Listens on `path`; a socket file left by a crashed instance is detected and replaced.
    bool listen(const QString& path);
    QString path() const;

signals:
    void reopenRequested();
    void linksReceived(const QStringList& links);
    void actionsReceived(const QStringList& actions);

private:
    void accept();

    QLocalServer* m_server;
};

} // namespace singleinstance
