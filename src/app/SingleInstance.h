#pragma once

#include <QObject>
#include <QStringList>

#include <optional>

class QSocketNotifier;
class QTimer;

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

// Listens on its own socket rather than through QLocalServer, which closes and deletes its socket
// for good when an accept fails (no descriptors left): here the socket stays, connections wait in
// the backlog, and accepting resumes once descriptors are free again.
class Server : public QObject {
    Q_OBJECT
  public:
    // Requests larger than this are dropped, so a misbehaving client cannot exhaust memory...
    static constexpr qint64 maxRequestBytes = 1024 * 1024;
    // ...and neither can many of them together: past this, a growing request is dropped.
    static constexpr qint64 maxPendingBytes = 4 * maxRequestBytes;
    static constexpr int requestTimeoutMs = 5000;
    // How long accepting pauses when the process has no descriptor left.
    static constexpr int exhaustedRetryMs = 250;

    explicit Server(QObject* parent = nullptr);
    ~Server() override;
    // Listens on `path`; a socket file left by a crashed instance is detected and replaced.
    bool listen(const QString& path);
    QString path() const;

  signals:
    void reopenRequested();
    void linksReceived(const QStringList& links);
    void actionsReceived(const QStringList& actions);

  private:
    class Connection;
    void acceptPending();
    void pauseAccepting();
    void serve(int fd);
    void closeListener();

    int m_fd = -1;
    QString m_path;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_retry = nullptr;
    bool m_exhaustionSaid = false;
    qint64 m_pendingBytes = 0; // what every unfinished request holds together
};

} // namespace singleinstance
