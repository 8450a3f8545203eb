#include "settings/Settings.h"
#include "settings/HexColor.h"
#include "settings/SettingsKeys.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using testsupport::StderrCapture;

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { Settings::registerDefaults(); }
    QString path() const { return dir.filePath(QStringLiteral("Pictro.conf")); }
    void writeFile(const QByteArray& contents) {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contents);
    }
    QTemporaryDir dir;
};

TEST_F(SettingsTest, RegisteredDefaultsAreTheDocumentedOnes) {
    Settings s(path());
    EXPECT_EQ(keys::registeredDefaults().size(), 25u);
    EXPECT_TRUE(s.boolValue(keys::afterShow));
    EXPECT_FALSE(s.boolValue(keys::afterCopy));
    EXPECT_FALSE(s.boolValue(keys::afterSave));
    EXPECT_EQ(s.afterCropShow(), AfterCropShow::editor);
    EXPECT_EQ(s.intValue(keys::scrollMaxHeight), 20000);
    EXPECT_DOUBLE_EQ(s.doubleValue(keys::scrollSpeed), 0.6);
    EXPECT_EQ(s.confirmationStyle(), ConfirmationStyle::custom);
    EXPECT_EQ(s.windowBGStyle(), WindowBGStyle::transparent);
    EXPECT_EQ(s.stringValue(keys::uploadProvider), QStringLiteral("disabled"));
    // Registration is volatile: nothing reaches the file.
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(SettingsTest, WritesPersistAndRaiseTheChangeSignal) {
    {
        Settings s(path());
        QSignalSpy spy(&s, &Settings::changed);
        s.set(keys::afterSave, true);
        s.set(keys::saveFormat, QStringLiteral("png"));
        ASSERT_EQ(spy.count(), 2);
        EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("afterSave"));
    }
    Settings reopened(path());
    EXPECT_TRUE(reopened.boolValue(keys::afterSave));
    EXPECT_EQ(reopened.saveFormat(), SaveFormat::png);
    const QString text = QString::fromUtf8([&] {
        QFile f(path());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }());
    EXPECT_TRUE(text.contains(QStringLiteral("[General]")));
    EXPECT_TRUE(text.contains(QStringLiteral("afterSave=true")));
}

TEST_F(SettingsTest, HandEditedAndDamagedFilesGiveFallbacks) {
    writeFile("[General]\nafterShow=banana\nscrollMaxHeight=lots\nscrollSpeed=\nsaveFormat=PNG\n"
              "hidePreviewMode=after5s\nconfirmationStyle=none\nlastAreaRect=1,2,3,4\nwindowBGColor=#gg8000\n"
              "\x01\x02garbage line without equals\n");
    Settings s(path());
    EXPECT_TRUE(s.boolValue(keys::afterShow));               // default
    EXPECT_EQ(s.intValue(keys::scrollMaxHeight), 20000);     // default
    EXPECT_DOUBLE_EQ(s.doubleValue(keys::scrollSpeed), 0.6); // default
    EXPECT_EQ(s.saveFormat(), SaveFormat::autoFormat);       // case-sensitive match
    EXPECT_EQ(s.hidePreviewMode(), HidePreviewMode::manual);
    EXPECT_EQ(s.confirmationStyle(), ConfirmationStyle::none); // valid values still count
    // An unquoted list in a hand-edited file still reads as the rectangle.
    EXPECT_EQ(s.lastAreaRect(), QRectF(1, 2, 3, 4));
    EXPECT_EQ(s.windowBGColor(), QColor::fromRgbF(1, 1, 1, 1));
}

TEST_F(SettingsTest, DamagedFileIsToldCopiedAsItWasAndStillStoresChanges) {
    const QByteArray damaged = "[General]\nafterSave=true\n\x01\x02garbage line without equals\n"
                               "screenshotsFolder=/srv/shots\n";
    writeFile(damaged);
    StderrCapture err;
    {
        Settings s(path());
        QSignalSpy failed(&s, &Settings::storeFailed);
        EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.damaged*")}).isEmpty())
            << "nothing is written before a setting changes";
        s.set(keys::afterCopy, true);
        s.set(keys::afterShow, false);
        EXPECT_EQ(failed.count(), 0) << "the changes reached the file";
    }
    const QString log = err.text();
    EXPECT_EQ(log.count(QStringLiteral("Pictro: ")), 1) << log.toStdString();
    EXPECT_TRUE(log.contains(path() + QStringLiteral(" is damaged"))) << log.toStdString();
    const QStringList copies = QDir(dir.path()).entryList({QStringLiteral("Pictro.conf.damaged-*")});
    ASSERT_EQ(copies.size(), 1);
    QFile copy(dir.filePath(copies.first()));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), damaged);

    Settings reopened(path());
    EXPECT_TRUE(reopened.boolValue(keys::afterSave));
    EXPECT_TRUE(reopened.boolValue(keys::afterCopy));
    EXPECT_FALSE(reopened.boolValue(keys::afterShow));
    EXPECT_EQ(reopened.screenshotsFolder(), QStringLiteral("/srv/shots"));
}

TEST_F(SettingsTest, UnstorableChangesAreKeptForTheRunAndReported) {
    // A directory where the file should be can be neither read nor written, whatever the rights of the user.
    ASSERT_TRUE(QDir().mkpath(path()));
    StderrCapture err;
    Settings s(path());
    const QString told = err.text();
    EXPECT_TRUE(told.startsWith(QStringLiteral("Pictro: settings file ") + path() +
                                QStringLiteral(" cannot be read")))
        << told.toStdString();
    QSignalSpy failed(&s, SIGNAL(storeFailed(QString)));
    ASSERT_TRUE(failed.isValid()) << "a write that cannot be stored must be told";
    EXPECT_TRUE(s.boolValue(keys::afterShow));
    EXPECT_EQ(s.lastAreaRect(), std::nullopt);
    s.set(keys::afterShow, false);
    s.remove(keys::saveFormat);
    EXPECT_FALSE(s.boolValue(keys::afterShow)); // the program goes on with the change
    ASSERT_EQ(failed.count(), 2);
    EXPECT_EQ(failed.at(0).at(0).toString(), QStringLiteral("afterShow"));

    Settings writable(dir.filePath(QStringLiteral("elsewhere.conf")));
    QSignalSpy fine(&writable, SIGNAL(storeFailed(QString)));
    writable.set(keys::afterShow, false);
    EXPECT_EQ(fine.count(), 0);
}

struct RectCase {
    const char* text;
    std::optional<QRectF> expected;
};

class RectParsing : public ::testing::TestWithParam<RectCase> {};

TEST_P(RectParsing, ReadsFourNumbersOrNothing) {
    EXPECT_EQ(settingsformat::parseRect(QString::fromLatin1(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RectParsing,
    ::testing::Values(RectCase{"10.0,20.0,300.0,200.0", QRectF(10, 20, 300, 200)},
                      RectCase{"1,,2,3,4", QRectF(1, 2, 3, 4)}, RectCase{"1,2,x,3,4", QRectF(1, 2, 3, 4)},
                      RectCase{",1,2,3,4,", QRectF(1, 2, 3, 4)},
                      RectCase{"-5.5,1e2,3,4", QRectF(-5.5, 100, 3, 4)}, RectCase{"1,2,3", std::nullopt},
                      RectCase{"abc", std::nullopt}, RectCase{"1,2,3,4,5", std::nullopt},
                      RectCase{"", std::nullopt}, RectCase{" 1,2,3,4", std::nullopt},
                      // Out of any screen's reach, or not numbers at all: never handed to the crop.
                      RectCase{"0,0,3e9,3e9", std::nullopt}, RectCase{"0,0,inf,inf", std::nullopt},
                      RectCase{"nan,0,10,10", std::nullopt},
                      RectCase{"10,10,2147483647,2147483647", std::nullopt},
                      RectCase{"16777000,0,1000,10", std::nullopt}));

struct NumberCase {
    double value;
    const char* text;
};

class NumberText : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberText, IsShortestRoundTripWithAFraction) {
    const QString text = settingsformat::number(GetParam().value);
    EXPECT_EQ(text, QString::fromLatin1(GetParam().text));
    EXPECT_EQ(text.toDouble(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Values, NumberText,
                         ::testing::Values(NumberCase{100, "100.0"}, NumberCase{0.5, "0.5"},
                                           NumberCase{0, "0.0"}, NumberCase{-3, "-3.0"},
                                           NumberCase{0.1, "0.1"},
                                           NumberCase{1.0 / 3.0, "0.3333333333333333"},
                                           NumberCase{1234.25, "1234.25"}, NumberCase{1e20, "1e+20"}));

TEST_F(SettingsTest, LastAreaIsWrittenStandardizedAndRemovable) {
    Settings s(path());
    s.setLastAreaRect(QRectF(10, 20, 300, 200));
    EXPECT_EQ(s.stringValue(keys::lastAreaRect), QStringLiteral("10.0,20.0,300.0,200.0"));
    s.setLastAreaRect(QRectF(50, 60, -20, -10));
    EXPECT_EQ(s.stringValue(keys::lastAreaRect), QStringLiteral("30.0,50.0,20.0,10.0"));
    s.setLastAreaRect(std::nullopt);
    EXPECT_FALSE(s.isStored(keys::lastAreaRect));
    EXPECT_EQ(s.lastAreaRect(), std::nullopt);
}

struct ColourCase {
    const char* text;
    std::optional<QColor> expected;
};

class ColourParsing : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ColourParsing, AcceptsSixHexDigitsOnly) {
    const auto parsed = hexcolor::parse(QString::fromLatin1(GetParam().text));
    ASSERT_EQ(parsed.has_value(), GetParam().expected.has_value());
    if (parsed) {
        EXPECT_EQ(parsed->rgba(), GetParam().expected->rgba());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ColourParsing,
    ::testing::Values(ColourCase{"#ff8000", QColor(255, 128, 0)},
                      ColourCase{"  #ff8000 \n", QColor(255, 128, 0)},
                      ColourCase{"ff8000", QColor(255, 128, 0)}, ColourCase{"#FFFFFF", QColor(255, 255, 255)},
                      ColourCase{"#ff800", std::nullopt}, ColourCase{"#gg8000", std::nullopt},
                      ColourCase{"##ff8000", std::nullopt}, ColourCase{"#ff80001", std::nullopt},
                      ColourCase{"12345g", std::nullopt}, ColourCase{"", std::nullopt}));

TEST(HexString, RoundsHalvesAwayAndWritesUpperCase) {
    EXPECT_EQ(hexcolor::hexString(QColor(255, 255, 255)), QStringLiteral("#FFFFFF"));
    EXPECT_EQ(hexcolor::hexString(QColor(0x0a, 0xb0, 0xc3)), QStringLiteral("#0AB0C3"));
    EXPECT_EQ(hexcolor::hexString(QColor::fromRgbF(0.5f, 0.0f, 1.0f)), QStringLiteral("#8000FF"));
    // Colours of other models are converted first.
    EXPECT_EQ(hexcolor::hexString(QColor::fromHsv(0, 255, 255)), QStringLiteral("#FF0000"));
}

TEST_F(SettingsTest, ScreenshotsFolderExpandsTildeAndFallsBackToTheDesktop) {
    Settings s(path());
    EXPECT_FALSE(s.screenshotsFolder().isEmpty());
    s.set(keys::screenshotsFolder, QString());
    EXPECT_EQ(s.screenshotsFolder(), QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    s.set(keys::screenshotsFolder, QStringLiteral("~/Pictures/Shots"));
    EXPECT_EQ(s.screenshotsFolder(), QDir::homePath() + QStringLiteral("/Pictures/Shots"));
    s.set(keys::screenshotsFolder, QStringLiteral("/srv/shots"));
    EXPECT_EQ(s.screenshotsFolder(), QStringLiteral("/srv/shots"));
}

} // namespace
