#include "ocr/OCRResult.h"
#include "ocr/OCRFeedback.h"
#include "ocr/OCRLanguages.h"
#include "ocr/QRCodeImage.h"

#include <gtest/gtest.h>

namespace {

struct ClipboardCase {
    const char* name;
    OCRResult result;
    const char* clipboard;
    const char* message;
    const char* symbol;
};

class InstantFeedback : public ::testing::TestWithParam<ClipboardCase> {};

TEST_P(InstantFeedback, ClipboardTextAndToastFollowWhatWasFound) {
    const ClipboardCase& c = GetParam();
    EXPECT_EQ(c.result.clipboardText(), QString::fromUtf8(c.clipboard));
    const OCRFeedback f = OCRFeedback::forInstantFlow(c.result);
    EXPECT_EQ(f.clipboardText, QString::fromUtf8(c.clipboard));
    EXPECT_EQ(f.message, QString::fromUtf8(c.message));
    EXPECT_EQ(f.symbol, QString::fromUtf8(c.symbol));
}

INSTANTIATE_TEST_SUITE_P(
    Results, InstantFeedback,
    ::testing::Values(ClipboardCase{"nothing", {}, "", "No text or QR found", "text.magnifyingglass"},
                      ClipboardCase{"textOnly",
                                    {QStringLiteral("Hello\nWorld"), {}},
                                    "Hello\nWorld",
                                    "Text copied (11 chars)",
                                    "text.viewfinder"},
                      ClipboardCase{"payloadOnly",
                                    {QString(), {QStringLiteral("P1")}},
                                    "P1",
                                    "QR/text copied (2 chars)",
                                    "qrcode.viewfinder"},
                      ClipboardCase{"payloadsThenText",
                                    {QStringLiteral("Hello"), {QStringLiteral("P1"), QStringLiteral("P2")}},
                                    "P1\nP2\nHello",
                                    "QR/text copied (11 chars)",
                                    "qrcode.viewfinder"},
                      // A letter and its combining accent are one character to the reader.
                      ClipboardCase{"combiningMarks",
                                    {QStringLiteral("Cafe\u0301"), {}},
                                    "Cafe\u0301",
                                    "Text copied (4 chars)",
                                    "text.viewfinder"}),
    [](const auto& info) { return std::string(info.param.name); });

struct LanguageCase {
    const char* name;
    OCRLanguage setting;
    QStringList installed;
    const char* engineArgument;
};

class Languages : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(Languages, SettingMapsToInstalledPacksInPriorityOrder) {
    const LanguageCase& c = GetParam();
    const QStringList packs = ocrlanguages::usable(ocrlanguages::packsFor(c.setting), c.installed);
    EXPECT_EQ(ocrlanguages::engineArgument(packs), QString::fromUtf8(c.engineArgument));
}

const QStringList kBoth{QStringLiteral("eng"), QStringLiteral("vie")};

INSTANTIATE_TEST_SUITE_P(
    Settings, Languages,
    ::testing::Values(LanguageCase{"englishPlus", OCRLanguage::englishPlus, kBoth, "eng+vie"},
                      LanguageCase{"vietnamesePlus", OCRLanguage::vietnamesePlus, kBoth, "vie+eng"},
                      LanguageCase{"auto", OCRLanguage::autoLanguage, kBoth, "eng+vie"},
                      LanguageCase{
                          "vietnameseMissing", OCRLanguage::vietnamesePlus, {QStringLiteral("eng")}, "eng"},
                      // Nothing found at all: English is asked for, and the engine reports its own failure.
                      LanguageCase{"noPacks", OCRLanguage::vietnamesePlus, {}, "eng"}),
    [](const auto& info) { return std::string(info.param.name); });

struct StoredLanguageCase {
    const char* stored;
    std::optional<const char*> pack;
};

class StoredLanguage : public ::testing::TestWithParam<StoredLanguageCase> {};

TEST_P(StoredLanguage, NamesOnePackOrKeepsItsFixedMeaning) {
    const StoredLanguageCase& c = GetParam();
    const auto pack = ocrlanguages::singlePack(QString::fromUtf8(c.stored));
    ASSERT_EQ(pack.has_value(), c.pack.has_value()) << c.stored;
    if (pack) {
        EXPECT_EQ(*pack, QString::fromUtf8(*c.pack));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredLanguage,
    ::testing::Values(StoredLanguageCase{"englishPlus", {}}, StoredLanguageCase{"vietnamesePlus", {}},
                      StoredLanguageCase{"auto", {}}, StoredLanguageCase{"deu", "deu"},
                      StoredLanguageCase{"chi_sim", "chi_sim"},
                      StoredLanguageCase{"script/Latin", "script/Latin"}, StoredLanguageCase{"eng+vie", {}},
                      StoredLanguageCase{"../eng", {}}, StoredLanguageCase{"/usr/share/x", {}},
                      StoredLanguageCase{"", {}}));

TEST(LanguagePacks, ChoicesNameTheLanguageAndLeaveOutWhatIsNoLanguage) {
    const QStringList installed{QStringLiteral("chi_sim"), QStringLiteral("deu"), QStringLiteral("eng"),
                                QStringLiteral("equ"),     QStringLiteral("osd"), QStringLiteral("xqz")};
    EXPECT_EQ(ocrlanguages::selectablePacks(installed),
              (QStringList{QStringLiteral("chi_sim"), QStringLiteral("deu"), QStringLiteral("eng"),
                           QStringLiteral("xqz")}));
    EXPECT_EQ(ocrlanguages::packLabel(QStringLiteral("deu")), QStringLiteral("German (deu)"));
    EXPECT_EQ(ocrlanguages::packLabel(QStringLiteral("fra")), QStringLiteral("French (fra)"));
    EXPECT_EQ(ocrlanguages::packLabel(QStringLiteral("chi_sim")), QStringLiteral("Chinese (chi_sim)"));
    EXPECT_EQ(ocrlanguages::packLabel(QStringLiteral("xqz")), QStringLiteral("xqz"));
}

TEST(QRCodeImage, ModulesAreCrispAndTheQuietZoneWhite) {
    const QImage qr = qrcodeimage::make(QStringLiteral("x"), 5);
    ASSERT_FALSE(qr.isNull());
    // Version 1 is 21 modules, plus four of quiet zone on each side.
    EXPECT_EQ(qr.size(), QSize(29 * 5, 29 * 5));
    EXPECT_EQ(qGray(qr.pixel(2, 2)), 255);
    EXPECT_EQ(qGray(qr.pixel(4 * 5 + 2, 4 * 5 + 2)), 0); // the finder pattern's corner
    EXPECT_TRUE(qrcodeimage::make(QString(5000, QLatin1Char('x')), 2).isNull());
}

} // namespace
