#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

#include <functional>

// The desktop portal's GlobalShortcuts, where the desktop implements it: Pictro names its actions
// and suggests a key for each; the desktop records the binding (asking the user, in its own
// dialog) and tells Pictro when one is pressed. One session lives as long as this object.
class PortalGlobalShortcuts : public QObject {
    Q_OBJECT
public:
    struct Shortcut {
        QString id;               // the action ("area")
        QString description;      // what the desktop's settings show ("Capture Area")
        QString preferredTrigger; // in the shortcut portal's own form ("CTRL+SHIFT+2"); may be empty
    };

    explicit PortalGlobalShortcuts(QDBusConnection bus, QObject* parent = nullptr);

    // Whether this session's desktop portal offers global shortcuts: its interface answers with a
    // version. Asked once per session; desktops without it (wlroots compositors) answer no.
    static bool available(const QDBusConnection& bus);

    // Opens the session (once) and binds the shortcuts; `done` hears, per id, the key the desktop
    // bound as it describes it ("Ctrl+Shift+2"), empty where it bound none, or false on failure.
    void bind(const QList<Shortcut>& shortcuts, std::function<void(bool ok, QMap<QString, QString>)> done);

    // A shortcut's key as the portal spells a preferred trigger, from the parts a person reads
    // ("Ctrl+Shift+2" → "CTRL+SHIFT+2").
    static QString portalTrigger(const QString& keyText);

signals:
    void activated(const QString& id);

private slots:
    void onActivated(const QDBusObjectPath& session, const QString& id, qulonglong timestamp, const QVariantMap& options);

private:
    void createSession(std::function<void(bool)> done);
    void bindInSession(const QList<Shortcut>& shortcuts, std::function<void(bool, QMap<QString, QString>)> done);

    QDBusConnection m_bus;
    QString m_session;
};
