#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantList>
#include <QVariantMap>

#include <functional>

// One exchange with the desktop portal: a method call whose answer comes later, as the Response
// signal of a request object (after a permission dialog, perhaps). The request's path is known
// before the call (from the handle token and this connection's name), so the signal is listened for
// before it can be sent and no answer is lost to a race.
class PortalRequest : public QObject {
    Q_OBJECT
  public:
    enum class Outcome {
        answered,      // the portal answered: see `response` and `results`
        portalMissing, // no portal, or one without this interface or method
        callFailed,    // the call itself was refused (bad arguments, the portal failed)
        timedOut,      // no answer in time
    };
    struct Answer {
        Outcome outcome = Outcome::callFailed;
        uint response = 2; // 0 success, 1 the user denied, 2 cancelled or otherwise ended
        QVariantMap results;
        QString detail; // for the log: the D-Bus error, when there was one
    };
    using Done = std::function<void(const Answer&)>;

    static constexpr const char* desktopService = "org.freedesktop.portal.Desktop";
    static constexpr const char* desktopPath = "/org/freedesktop/portal/desktop";

    struct Call {
        QString service = QString::fromLatin1(desktopService);
        QString interface;
        QString method;
        QVariantList arguments; // those before the options
        QVariantMap options;    // handle_token is added
        int timeoutMs = 30000;
    };

    // Starts the call; `done` runs once, on this thread, with the answer or why there is none.
    static void start(const QDBusConnection& bus, const Call& call, Done done);

    // The request path the portal gives a handle token for a connection's unique name.
    static QString requestPath(const QString& uniqueName, const QString& token);

  private slots:
    void onResponse(uint response, const QVariantMap& results);

  private:
    PortalRequest(const QDBusConnection& bus, const Call& call, Done done);
    void listenAt(const QString& path);
    void stopListening();
    void finish(const Answer& answer);
    void closeRequest();

    QDBusConnection m_bus;
    QString m_service;
    QString m_path;
    Done m_done;
    QTimer m_timeout;
    bool m_finished = false;
};
