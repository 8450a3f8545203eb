#include "platform/wayland/PortalBackends.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using portalbackends::Backend;

const QString shortcuts = QStringLiteral("org.freedesktop.impl.portal.GlobalShortcuts");

// The backends as Debian installs them (their files trimmed to the keys read).
const QByteArray kdePortal = "[portal]\nDBusName=org.freedesktop.impl.portal.desktop.kde\n"
                             "Interfaces=org.freedesktop.impl.portal.Screenshot;"
                             "org.freedesktop.impl.portal.GlobalShortcuts\nUseIn=KDE\n";
const QByteArray wlrPortal =
    "[portal]\nInterfaces=org.freedesktop.impl.portal.Screenshot;"
    "org.freedesktop.impl.portal.ScreenCast;\nUseIn=wlroots;sway;Wayfire;river;phosh;Hyprland;\n";
const QByteArray hyprlandPortal = "[portal]\nInterfaces=org.freedesktop.impl.portal.GlobalShortcuts;\n"
                                  "UseIn=wlroots;Hyprland;sway;Wayfire;river\n";

QList<Backend> backends(std::initializer_list<std::pair<const char*, QByteArray>> files) {
    QList<Backend> out;
    for (const auto& [name, text] : files)
        if (auto b = portalbackends::parse(QString::fromLatin1(name), text)) out.append(*b);
    return out;
}

// Another desktop's backend is named only where it would be the one to answer.
TEST(PortalBackends, NamesAnotherDesktopsBackendOnlyWhereItWouldAnswer) {
    const auto kdeAndWlr = backends({{"kde", kdePortal}, {"wlr", wlrPortal}});
    EXPECT_EQ(portalbackends::foreignProvider(kdeAndWlr, shortcuts, {QStringLiteral("sway")}),
              QStringLiteral("kde"));
    EXPECT_FALSE(portalbackends::foreignProvider(kdeAndWlr, shortcuts, {QStringLiteral("KDE")}));
    // Desktop names match whatever their case; any of several names will do.
    EXPECT_FALSE(portalbackends::foreignProvider(kdeAndWlr, shortcuts,
                                                 {QStringLiteral("plasma"), QStringLiteral("kde")}));
    // A backend of this desktop's own that implements the interface wins over the foreign one.
    const auto withOwn = backends({{"kde", kdePortal}, {"hyprland", hyprlandPortal}});
    EXPECT_FALSE(portalbackends::foreignProvider(withOwn, shortcuts, {QStringLiteral("Hyprland")}));
    // Nobody implements it, or nothing says which desktop runs: nothing to warn of.
    EXPECT_FALSE(
        portalbackends::foreignProvider(backends({{"wlr", wlrPortal}}), shortcuts, {QStringLiteral("sway")}));
    EXPECT_FALSE(portalbackends::foreignProvider(kdeAndWlr, shortcuts, {}));
    // Only the [portal] group counts, and a file without interfaces is no backend.
    EXPECT_FALSE(
        portalbackends::parse(QStringLiteral("x"), "[other]\nInterfaces=" + shortcuts.toUtf8() + "\n"));
}

// In a session: the portal's folder and desktop come from the environment, and a portals.conf
// (which the portal follows instead of its fallback) leaves the choice to the portal.
TEST(PortalBackends, ReadsTheSessionsFolderAndLeavesConfiguredChoicesAlone) {
    QTemporaryDir home;
    const QString portals = home.filePath(QStringLiteral("portals"));
    QDir().mkpath(portals);
    for (const auto& [name, text] :
         {std::pair{"kde.portal", kdePortal}, std::pair{"wlr.portal", wlrPortal}}) {
        QFile f(portals + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    qputenv("XDG_DESKTOP_PORTAL_DIR", QFile::encodeName(portals));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(home.filePath(QStringLiteral("none"))));
    qputenv("XDG_CURRENT_DESKTOP", "sway:wlroots");
    EXPECT_EQ(portalbackends::foreignProviderHere(shortcuts), QStringLiteral("kde"));

    QDir().mkpath(home.filePath(QStringLiteral("config/xdg-desktop-portal")));
    QFile conf(home.filePath(QStringLiteral("config/xdg-desktop-portal/sway-portals.conf")));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write("[preferred]\ndefault=wlr\n");
    conf.close();
    EXPECT_FALSE(portalbackends::foreignProviderHere(shortcuts));
}

} // namespace
