#include "PreferencesTestSupport.h"

#include "preferences/PreferencesWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

namespace {

enum class Kind { checkBox, popUp, radio, number, slider };

// One control of the window: its key, and a value other than the default both as stored text and
// as the control shows it.
struct ControlCase {
    const char* key;
    Kind kind;
    const char* storedText;
    const char* shown; // check state "on"/"off", the chosen label, the field's number or slider value
};

void PrintTo(const ControlCase& c, std::ostream* os) {
    *os << c.key;
}

QString shownBy(PreferencesWindow& window, const ControlCase& c) {
    const QString key = QString::fromLatin1(c.key);
    switch (c.kind) {
    case Kind::checkBox:
        return window.findChild<QCheckBox*>(key)->isChecked() ? "on" : "off";
    case Kind::popUp:
        return window.findChild<QComboBox*>(key)->currentText();
    case Kind::radio: {
        QAbstractButton* checked = window.findChild<QButtonGroup*>(key)->checkedButton();
        return checked ? checked->text() : QString();
    }
    case Kind::number: {
        bool ok = false;
        const qint64 n = QLocale().toLongLong(window.findChild<QLineEdit*>(key)->text(), &ok);
        return ok ? QString::number(n) : QStringLiteral("not a number");
    }
    case Kind::slider:
        return QString::number(window.findChild<QSlider*>(key)->value() / 1000.0);
    }
    return {};
}

QWidget* controlOf(PreferencesWindow& window, const ControlCase& c) {
    const QString key = QString::fromLatin1(c.key);
    if (c.kind == Kind::radio) return window.findChild<QButtonGroup*>(key)->buttons().first();
    return window.findChild<QWidget*>(key);
}

// What a user does to make the control show `c.shown`.
void choose(PreferencesWindow& window, const ControlCase& c) {
    const QString key = QString::fromLatin1(c.key);
    prefstest::showTabOf(window, controlOf(window, c));
    switch (c.kind) {
    case Kind::checkBox:
        QTest::mouseClick(window.findChild<QCheckBox*>(key), Qt::LeftButton);
        break;
    case Kind::popUp: {
        auto* box = window.findChild<QComboBox*>(key);
        const int target = box->findText(QString::fromUtf8(c.shown));
        ASSERT_GE(target, 0);
        box->setFocus();
        while (box->currentIndex() != target)
            QTest::keyClick(box, box->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
        break;
    }
    case Kind::radio:
        for (QAbstractButton* b : window.findChild<QButtonGroup*>(key)->buttons())
            if (b->text() == QString::fromUtf8(c.shown)) QTest::mouseClick(b, Qt::LeftButton);
        break;
    case Kind::number: {
        auto* field = window.findChild<QLineEdit*>(key);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, QString::fromUtf8(c.shown));
        QTest::keyClick(field, Qt::Key_Return);
        break;
    }
    case Kind::slider:
        window.findChild<QSlider*>(key)->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    }
}

class ControlTest : public ::testing::TestWithParam<ControlCase> {
  protected:
    prefstest::World world;
};

TEST_P(ControlTest, ShowsTheStoredValueOnOpenAndFollowsLaterWrites) {
    const ControlCase& c = GetParam();
    world.settings.set(c.key, QString::fromUtf8(c.storedText));
    auto window = world.openWindow();
    ASSERT_NE(controlOf(*window, c), nullptr);
    EXPECT_EQ(shownBy(*window, c), QString::fromUtf8(c.shown));

    // A write from elsewhere (the tray menu) shows up without reopening.
    world.settings.remove(c.key);
    EXPECT_NE(shownBy(*window, c), QString::fromUtf8(c.shown)) << "the default differs from the case's value";
}

TEST_P(ControlTest, AUserChangeIsStoredAtOnce) {
    const ControlCase& c = GetParam();
    auto window = world.openWindow();
    ASSERT_NE(shownBy(*window, c), QString::fromUtf8(c.shown));
    choose(*window, c);
    EXPECT_EQ(shownBy(*window, c), QString::fromUtf8(c.shown));
    ASSERT_TRUE(world.settings.isStored(c.key));
    const QString stored = world.settings.stringValue(c.key);
    if (c.kind == Kind::checkBox)
        EXPECT_EQ(world.settings.boolValue(c.key), QLatin1String(c.storedText) == QLatin1String("true"));
    else
        EXPECT_EQ(stored, QString::fromUtf8(c.storedText));
}

INSTANTIATE_TEST_SUITE_P(
    EveryBoundControl, ControlTest,
    ::testing::Values(ControlCase{"saveFormat", Kind::radio, "png", "PNG"},
                      ControlCase{"downscaleRetina", Kind::checkBox, "true", "on"},
                      ControlCase{"scrollMaxHeight", Kind::number, "50000", "50000"},
                      ControlCase{"scrollSpeed", Kind::slider, "0", "0"},
                      ControlCase{"afterShow", Kind::checkBox, "false", "off"},
                      ControlCase{"afterCopy", Kind::checkBox, "true", "on"},
                      ControlCase{"afterSave", Kind::checkBox, "true", "on"},
                      ControlCase{"afterCropShow", Kind::radio, "thumbnail", "Thumbnail"},
                      ControlCase{"hidePreviewMode", Kind::popUp, "after10s", "After 10 seconds"},
                      ControlCase{"ocrLanguage", Kind::popUp, "auto", "Auto"},
                      ControlCase{"ocrRemoveLineBreaks", Kind::checkBox, "true", "on"},
                      ControlCase{"hideMenubarIcon", Kind::checkBox, "true", "on"},
                      ControlCase{"noSplash", Kind::checkBox, "true", "on"},
                      ControlCase{"alwaysOnTop", Kind::checkBox, "true", "on"},
                      ControlCase{"zoomReverseScroll", Kind::checkBox, "true", "on"},
                      ControlCase{"scrollingReverse", Kind::checkBox, "true", "on"},
                      ControlCase{"preferZoom100", Kind::checkBox, "false", "off"},
                      ControlCase{"escCopy", Kind::checkBox, "false", "off"},
                      ControlCase{"escSave", Kind::checkBox, "true", "on"},
                      ControlCase{"confirmationStyle", Kind::popUp, "none", "None"},
                      ControlCase{"urlSchemeEnabled", Kind::checkBox, "true", "on"},
                      ControlCase{"diagnostics", Kind::checkBox, "false", "off"}),
    [](const auto& info) { return std::string(info.param.key); });

// Every language pack installed on the computer can be chosen after the three fixed choices; the
// English one is always there (the program depends on it).
INSTANTIATE_TEST_SUITE_P(InstalledLanguagePack, ControlTest,
                         ::testing::Values(ControlCase{"ocrLanguage", Kind::popUp, "eng", "English (eng)"}),
                         [](const auto& info) { return std::string(info.param.key); });

TEST(OCRLanguagePopUp, KeepsTheFixedChoicesFirstAndOffersNoNonLanguage) {
    prefstest::World world;
    auto window = world.openWindow();
    auto* box = window->findChild<QComboBox*>(QStringLiteral("ocrLanguage"));
    ASSERT_NE(box, nullptr);
    ASSERT_GE(box->count(), 4);
    EXPECT_EQ(box->itemText(0), QStringLiteral("English+"));
    EXPECT_EQ(box->itemText(1), QStringLiteral("Vietnamese+"));
    EXPECT_EQ(box->itemText(2), QStringLiteral("Auto"));
    EXPECT_EQ(box->findText(QStringLiteral("osd"), Qt::MatchContains), -1);
}

// Stored texts that name no case show the getter's fallback, as the rest of the program reads them.
struct FallbackCase {
    const char* key;
    const char* stored;
    const char* shown;
};

class FallbackTest : public ::testing::TestWithParam<FallbackCase> {
  protected:
    prefstest::World world;
};

TEST_P(FallbackTest, UnknownStoredTextShowsTheFallbackCase) {
    world.settings.set(GetParam().key, QString::fromLatin1(GetParam().stored));
    auto window = world.openWindow();
    const QString key = QString::fromLatin1(GetParam().key);
    QString shown;
    if (auto* box = window->findChild<QComboBox*>(key)) shown = box->currentText();
    if (auto* group = window->findChild<QButtonGroup*>(key)) shown = group->checkedButton()->text();
    EXPECT_EQ(shown, QString::fromUtf8(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(Choices, FallbackTest,
                         ::testing::Values(FallbackCase{"saveFormat", "PNG", "Auto (PNG/JPEG)"},
                                           FallbackCase{"hidePreviewMode", "after5s",
                                                        "Manually (close button)"},
                                           FallbackCase{"confirmationStyle", "", "Custom Notification"}));

TEST(NumberField, TextThatIsNoNumberIsRefusedAndTheStoredValueShowsAgain) {
    prefstest::World world;
    world.settings.set("scrollMaxHeight", 30000);
    auto window = world.openWindow();
    auto* field = window->findChild<QLineEdit*>(QStringLiteral("scrollMaxHeight"));
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("tall"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(world.settings.intValue("scrollMaxHeight"), 30000);
    EXPECT_EQ(QLocale().toLongLong(field->text()), 30000);
}

TEST(UploadingTab, OffersOnlyDisableUploading) {
    prefstest::World world;
    auto window = world.openWindow();
    auto* provider = window->findChild<QComboBox*>(QStringLiteral("uploadProvider"));
    ASSERT_NE(provider, nullptr);
    ASSERT_EQ(provider->count(), 1);
    EXPECT_EQ(provider->itemText(0), QStringLiteral("Disable Uploading"));
}

} // namespace
