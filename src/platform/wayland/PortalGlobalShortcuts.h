#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <optional>

// The desktop portal's GlobalShortcuts, where the desktop implements it: Pictro names its actions
// and suggests a key for each; the desktop records the binding (asking the user, in its own
// dialog) and tells Pictro when one is pressed. The shortcuts live in one session at a time.
class PortalGlobalShortcuts : public QObject {
    Q_OBJECT
  public:
    struct Shortcut {
        QString id;               // the action ("area")
        QString description;      // what the desktop's settings show ("Capture Area")
        QString preferredTrigger; // in the shortcut portal's own form ("CTRL+SHIFT+2"); may be empty
        bool operator==(const Shortcut&) const = default;
    };

    PortalGlobalShortcuts(QDBusConnection bus, uint version, QObject* parent = nullptr);
    ~PortalGlobalShortcuts() override;

    // The version of the shortcut interface this session's desktop portal offers; 0 where it
    // offers none (the wlroots compositors' portals, for one).
    static uint version(const QDBusConnection& bus);

    // The backend made for another desktop that would answer this session's shortcut requests and
    // bind nothing (see portalbackends); none where the desktop's own backend answers, or none does.
    static std::optional<QString> foreignBackend();

    // Binds exactly these shortcuts. Portals take one binding per session, so each call binds in
    // a fresh session; a call while one is under way is bound after it.
    void bind(const QList<Shortcut>& shortcuts);
    // The key the desktop bound to each id, as it describes it ("Ctrl+Shift+2"); empty for an id
    // it bound to no key.
    const QMap<QString, QString>& triggers() const { return m_triggers; }
    // Opens the desktop's dialog for changing the bindings: its configuration call where the
    // interface has one (version 2), else binding the same shortcuts again, which is when
    // desktops of the first version ask.
    void configure();
    // Whether configure() opens a dialog: the first version of the interface has none to ask for.
    bool canConfigure() const { return m_version >= 2; }

  signals:
    void activated(const QString& id);
    void triggersChanged();

  private slots:
    // Activated(session, id, timestamp, options) and ShortcutsChanged(session, shortcuts).
    void onActivated(const QDBusMessage& signal);
    void onShortcutsChanged(const QDBusMessage& signal);

  private:
    void startBinding(const QList<Shortcut>& shortcuts);
    void bindInSession(const QList<Shortcut>& shortcuts);
    void bindingEnded();
    void closeSession();
    void takeTriggers(const QDBusArgument& shortcuts);
    bool isOfThisSession(const QDBusMessage& signal) const;

    QDBusConnection m_bus;
    uint m_version = 0;
    QString m_session;
    QList<Shortcut> m_shortcuts;
    bool m_binding = false;
    std::optional<QList<Shortcut>> m_queued;
    QMap<QString, QString> m_triggers;
};
