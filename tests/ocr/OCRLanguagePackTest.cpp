#include "OCRTestImages.h"

#include "ocr/OCRService.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

// The installed packs are looked up once per process, so each case runs this program again over a
// language folder of its own.

namespace {

constexpr char kChildVariable[] = "PICTRO_OCR_PACK_CHILD";

// Only meaningful inside the re-run: reads a line with Vietnamese first, or with the one pack the
// variable names, and prints what it found.
TEST(LanguagePackChild, ReadsWithWhatIsInstalled) {
    if (!qEnvironmentVariableIsSet(kChildVariable)) GTEST_SKIP() << "runs only inside LanguagePacks";
    const QImage image = ocrtest::textImage({500, 120}, {QStringLiteral("Hello there")}, ocrtest::dejaVu(36));
    OCRService::Options options{OCRLanguage::vietnamesePlus, false};
    options.pack = qEnvironmentVariable(kChildVariable);
    const OCRResult r = OCRService::recognizeSync(image, options);
    std::printf("TEXT=%s\n", qPrintable(r.text));
}

struct PackCase {
    const char* name;
    bool withEnglish;
    const char* text;
    const char* diagnostic;
    // A single pack to read with (installed, as a copy of the English one, when `copied`).
    const char* pack = "";
    bool copied = false;
};

class LanguagePacks : public ::testing::TestWithParam<PackCase> {};

TEST_P(LanguagePacks, AMissingPackDegradesWithADiagnosticNotACrash) {
    const PackCase& c = GetParam();
    QTemporaryDir packs;
    const QString english = QStringLiteral("/usr/share/tesseract-ocr/5/tessdata/eng.traineddata");
    if (c.withEnglish && !QFile::link(english, packs.filePath(QStringLiteral("eng.traineddata"))))
        GTEST_SKIP() << "no English pack at " << english.toStdString();
    const QString copy = packs.filePath(QString::fromUtf8(c.pack) + QStringLiteral(".traineddata"));
    if (c.copied) {
        ASSERT_TRUE(QFile::link(english, copy));
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildVariable), QString::fromUtf8(c.pack));
    env.insert(QStringLiteral("TESSDATA_PREFIX"), packs.path() + QLatin1Char('/'));
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=LanguagePackChild.ReadsWithWhatIsInstalled")});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0);
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QStringLiteral("TEXT=%1\n").arg(QString::fromUtf8(c.text))))
        << out.toStdString();
    const QString err = QString::fromUtf8(child.readAllStandardError());
    if (*c.diagnostic) {
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.diagnostic))) << err.toStdString();
    } else {
        EXPECT_FALSE(err.contains(QStringLiteral("Pictro: "))) << err.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Folders, LanguagePacks,
    ::testing::Values(
        PackCase{"englishOnly", true, "Hello there",
                 "Pictro: text recognition: language pack \"vie\" is not installed; reading with eng"},
        PackCase{"none", false, "", "Pictro: text recognition: the engine could not start with eng"},
        // A pack of its own reads alone; one that is not installed gives way to English.
        PackCase{"chosenPack", true, "Hello there", "", "fra", true},
        PackCase{"chosenPackMissing", true, "Hello there",
                 "Pictro: text recognition: language pack \"fra\" is not installed; reading with eng",
                 "fra"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
