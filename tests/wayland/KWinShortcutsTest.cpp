// Global shortcuts through the shortcut portal of a real KWin session (scripts/with-kwin): Pictro's
// actions are bound there, the keys the desktop bound show in the Hotkeys tab, a press of one
// runs its action, and a key changed in the desktop's own settings reaches the tab and outlives
// the launch.
#include "WaylandSession.h"
#include "hotkeys/HotkeyManager.h"
#include "platform/DesktopShortcuts.h"
#include "platform/Platform.h"
#include "platform/wayland/PortalGlobalShortcuts.h"
#include "preferences/HotkeysTab.h"
#include "preferences/PreferencesServices.h"
#include "preferences/PreferencesWindow.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"
#include "x11/RunningPictro.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::waitUntil;

namespace {

// The desktop's shortcut service (inside KWin): what its settings change and its key handling
// fires. The portal registers each session's shortcuts there as one component.
class DesktopShortcutService {
  public:
    // The component holding Pictro's shortcut for `action`, once the portal has bound it.
    bool findComponentOf(const QString& action) {
        QDBusInterface service(serviceName, QStringLiteral("/kglobalaccel"),
                               QStringLiteral("org.kde.KGlobalAccel"));
        const QDBusReply<QList<QDBusObjectPath>> components = service.call(QStringLiteral("allComponents"));
        for (const QDBusObjectPath& path : components.value()) {
            QDBusInterface component(serviceName, path.path(), componentInterface);
            const QDBusReply<QStringList> names = component.call(QStringLiteral("shortcutNames"));
            if (names.value().contains(action)) {
                m_path = path.path();
                m_unique = component.property("uniqueName").toString();
                return true;
            }
        }
        return false;
    }
    // What a press of the action's key does: the service tells the component's owner.
    bool press(const QString& action) {
        QDBusInterface component(serviceName, m_path, componentInterface);
        return component.call(QStringLiteral("invokeShortcut"), action).type() == QDBusMessage::ReplyMessage;
    }
    // What the desktop's shortcut settings do when the user picks another key.
    bool rebind(const QString& action, const QKeySequence& key) {
        QDBusInterface service(serviceName, QStringLiteral("/kglobalaccel"),
                               QStringLiteral("org.kde.KGlobalAccel"));
        const QStringList id{m_unique, action, QString(), QString()};
        return service
                   .call(QStringLiteral("setForeignShortcut"), id,
                         QVariant::fromValue(QList<int>{key[0].toCombined()}))
                   .type() == QDBusMessage::ReplyMessage;
    }

  private:
    static inline const QString serviceName = QStringLiteral("org.kde.kglobalaccel");
    static inline const QString componentInterface = QStringLiteral("org.kde.kglobalaccel.Component");
    QString m_path;
    QString m_unique;
};

// The captions of the windows on KWin's desktop, '|' between them, as a KWin script prints them to
// KWin's output (which scripts/with-kwin keeps in its log).
QString kwinWindowCaptions() {
    static int run = 0;
    const QString marker = QStringLiteral("pictro-windows-%1:").arg(++run);
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("windows.js"));
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write("print('" + marker.toUtf8() +
               "' + workspace.clientList().map(function (c) { return c.caption; }).join('|'));\n");
    file.close();
    QDBusInterface scripting(QStringLiteral("org.kde.KWin"), QStringLiteral("/Scripting"),
                             QStringLiteral("org.kde.kwin.Scripting"));
    scripting.call(QStringLiteral("loadScript"), script, marker);
    scripting.call(QStringLiteral("start"));
    const QString log = qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/logs/kwin.log");
    QString line;
    waitUntil([&] {
        const QString text = testsupport::readFile(log);
        const qsizetype at = text.lastIndexOf(marker);
        if (at < 0) return false;
        line = text.mid(at + marker.size()).section(QLatin1Char('\n'), 0, 0);
        return true;
    });
    scripting.call(QStringLiteral("unloadScript"), marker);
    return line;
}

// One launch of Pictro's shortcut side, in this process: the Wayland platform, the actions
// registered from the settings, and the preferences' Hotkeys tab. What the desktop fires is
// collected in `ran`.
struct Launch {
    explicit Launch(Settings& settings) : hotkeys(Platform::current().hotkeys(), settings) {
        hotkeys.handler = [this](HotkeyAction action) { ran.push_back(action); };
        hotkeys.installEventHandler();
        hotkeys.reloadAll();
        window = std::make_unique<PreferencesWindow>(settings, PreferencesServices::standard());
    }
    QString shown(HotkeyAction action) const {
        const auto* label = window->hotkeysTab()->findChild<QLabel*>(QStringLiteral("desktopTrigger_") +
                                                                     hotkeyaction::rawValue(action));
        return label ? label->text() : QStringLiteral("(no label)");
    }
    // Once the desktop has answered the binding.
    bool bound() const {
        return waitUntil([&] { return shown(HotkeyAction::fullscreen) != "Desktop: none"; }, 10000);
    }

    waylandsession::InstalledPlatform platform;
    HotkeyManager hotkeys;
    std::unique_ptr<PreferencesWindow> window;
    std::vector<HotkeyAction> ran;
};

} // namespace

TEST(KWinShortcuts, PictrosActionsAreBoundTheirKeysShowAPressRunsOneAndTheDesktopsChangesShowAndLast) {
    ASSERT_GT(PortalGlobalShortcuts::version(QDBusConnection::sessionBus()), 0u);
    Settings::registerDefaults();
    QTemporaryDir dir;
    Settings settings(dir.filePath(QStringLiteral("Pictro.conf")));
    DesktopShortcutService desktop;
    {
        Launch first(settings);
        // The desktop took Pictro's suggestions; actions without a default have no key there.
        ASSERT_TRUE(first.bound());
        EXPECT_EQ(first.shown(HotkeyAction::fullscreen), "Desktop: Ctrl+Shift+1");
        EXPECT_EQ(first.shown(HotkeyAction::area), "Desktop: Ctrl+Shift+2");
        EXPECT_EQ(first.shown(HotkeyAction::ocr), "Desktop: Meta+Ctrl+Alt+O");
        EXPECT_EQ(first.shown(HotkeyAction::scrolling), "Desktop: none");

        ASSERT_TRUE(desktop.findComponentOf(QStringLiteral("area")));
        ASSERT_TRUE(desktop.press(QStringLiteral("area")));
        ASSERT_TRUE(waitUntil([&] { return !first.ran.empty(); }));
        EXPECT_EQ(first.ran, std::vector<HotkeyAction>{HotkeyAction::area});

        ASSERT_TRUE(desktop.rebind(QStringLiteral("area"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A)));
        EXPECT_TRUE(waitUntil([&] { return first.shown(HotkeyAction::area) == "Desktop: Ctrl+Alt+A"; }))
            << first.shown(HotkeyAction::area).toStdString();
        EXPECT_EQ(first.shown(HotkeyAction::fullscreen), "Desktop: Ctrl+Shift+1");
    }
    // The next launch finds the key the user chose in the desktop, not Pictro's suggestion again.
    Launch next(settings);
    ASSERT_TRUE(next.bound());
    EXPECT_EQ(next.shown(HotkeyAction::area), "Desktop: Ctrl+Alt+A");
}

// The running program: the desktop's key for an action runs it (Show Pictro, which opens the
// preferences while nothing has been captured yet).
class KWinShortcutsRoad : public RunningPictro {};

TEST_F(KWinShortcutsRoad, TheDesktopsKeyForAnActionRunsItInTheProgram) {
    start("hotkey_showApp=20:768\n");
    DesktopShortcutService desktop;
    ASSERT_TRUE(waitUntil([&] { return desktop.findComponentOf(QStringLiteral("showApp")); }, 10000));
    const auto preferencesShown = [] { return kwinWindowCaptions().contains(QStringLiteral("Preferences")); };
    EXPECT_FALSE(preferencesShown());
    ASSERT_TRUE(desktop.press(QStringLiteral("showApp")));
    EXPECT_TRUE(waitUntil(preferencesShown, 10000))
        << kwinWindowCaptions().toStdString() << pictro.readAllStandardError().toStdString();
}
