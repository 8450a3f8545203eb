#include "platform/x11/WallpaperLookup.h"

#include <QHash>

#include <gtest/gtest.h>

namespace {

using namespace wallpaper;

TEST(WallpaperParsers, GsettingsValues) {
    EXPECT_EQ(parseGsettingsValue("'file:///usr/share/backgrounds/a%20b.jpg'\n"),
              QStringLiteral("/usr/share/backgrounds/a b.jpg"));
    EXPECT_EQ(parseGsettingsValue("'/home/u/wall.png'"), QStringLiteral("/home/u/wall.png"));
    EXPECT_FALSE(parseGsettingsValue("''").has_value());
    EXPECT_FALSE(parseGsettingsValue("'https://example.org/x.png'").has_value());
    EXPECT_FALSE(parseGsettingsValue("No such schema").has_value());
}

TEST(WallpaperParsers, FehbgScripts) {
    EXPECT_EQ(parseFehbg("#!/bin/sh\nfeh --no-fehbg --bg-fill '/home/u/My Pictures/it'\\''s.jpg' \n"),
              QStringLiteral("/home/u/My Pictures/it's.jpg"));
    EXPECT_EQ(parseFehbg("/usr/bin/feh --bg-scale --no-xinerama \"/a/b c.png\" '/second.png'"),
              QStringLiteral("/a/b c.png"));
    EXPECT_FALSE(parseFehbg("#!/bin/sh\nfeh --no-fehbg --bg-fill\n").has_value());
    EXPECT_FALSE(parseFehbg("echo '/not/feh.png'").has_value());
    EXPECT_FALSE(parseFehbg("feh --bg-fill '/unterminated").has_value());
}

TEST(WallpaperParsers, NitrogenAndXfce) {
    EXPECT_EQ(parseNitrogen("[xin_-1]\nfile=/pics/n.jpg\nmode=5\n"), QStringLiteral("/pics/n.jpg"));
    const QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-desktop" version="1.0">
  <property name="backdrop" type="empty">
    <property name="screen0" type="empty">
      <property name="monitorVGA-1" type="empty">
        <property name="workspace0" type="empty">
          <property name="last-image" type="string" value="/pics/vga.jpg"/>
        </property>
      </property>
      <property name="monitorHDMI-1" type="empty">
        <property name="workspace1" type="empty">
          <property name="last-image" type="string" value="/pics/hdmi-ws1.jpg"/>
        </property>
        <property name="workspace0" type="empty">
          <property name="last-image" type="string" value="/pics/hdmi.jpg"/>
        </property>
      </property>
    </property>
  </property>
</channel>)";
    EXPECT_EQ(parseXfceDesktop(xml, QStringLiteral("HDMI-1")), QStringLiteral("/pics/hdmi.jpg"));
    EXPECT_EQ(parseXfceDesktop(xml, QStringLiteral("DP-9")), QStringLiteral("/pics/vga.jpg"));
    EXPECT_FALSE(parseXfceDesktop("<channel", QStringLiteral("x")).has_value());
}

class Lookup : public testing::Test {
  protected:
    Environment env() {
        Environment e;
        e.homeDir = QStringLiteral("/home/u");
        e.configDir = QStringLiteral("/home/u/.config");
        e.run = [this](const QString& program, const QStringList& args) -> std::optional<QString> {
            commands << program + QLatin1Char(' ') + args.join(QLatin1Char(' '));
            if (args.value(1) == QLatin1String("org.gnome.desktop.background"))
                return QStringLiteral("'file:///g.jpg'");
            if (args.value(1) == QLatin1String("org.mate.background")) return QStringLiteral("'/m.jpg'");
            return std::nullopt;
        };
        e.readFile = [this](const QString& path) -> std::optional<QByteArray> {
            if (files.contains(path)) return files[path];
            return std::nullopt;
        };
        e.fileExists = [this](const QString& path) { return !missing.contains(path); };
        return e;
    }
    QStringList commands;
    QHash<QString, QByteArray> files;
    QStringList missing;
};

TEST_F(Lookup, EachDesktopReadsItsOwnSetting) {
    Environment e = env();
    e.currentDesktop = QStringLiteral("ubuntu:GNOME");
    EXPECT_EQ(lookup(e, {}), QStringLiteral("/g.jpg"));
    e.currentDesktop = QStringLiteral("MATE");
    EXPECT_EQ(lookup(e, {}), QStringLiteral("/m.jpg"));
    // Outside those desktops gsettings is never asked (it would answer GNOME's default).
    commands.clear();
    e.currentDesktop = QStringLiteral("openbox");
    files[QStringLiteral("/home/u/.fehbg")] = "feh --bg-fill '/f.jpg'\n";
    EXPECT_EQ(lookup(e, {}), QStringLiteral("/f.jpg"));
    EXPECT_TRUE(commands.isEmpty());
}

TEST_F(Lookup, FallsBackToTheSessionSettersAndChecksTheFile) {
    Environment e = env();
    e.currentDesktop = QStringLiteral("X-Cinnamon"); // gsettings gives nothing here
    files[QStringLiteral("/home/u/.config/nitrogen/bg-saved.cfg")] = "file=/n.jpg\n";
    EXPECT_EQ(lookup(e, {}), QStringLiteral("/n.jpg"));
    missing << QStringLiteral("/n.jpg");
    EXPECT_FALSE(lookup(e, {}).has_value());
    e.currentDesktop.clear();
    files.clear();
    EXPECT_FALSE(lookup(e, {}).has_value());
}

} // namespace
