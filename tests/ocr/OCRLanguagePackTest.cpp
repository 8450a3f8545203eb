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

// Only meaningful inside the re-run: reads a line with Vietnamese first and prints what it found.
TEST(LanguagePackChild, ReadsWithWhatIsInstalled) {
    if (!qEnvironmentVariableIsSet(kChildVariable)) GTEST_SKIP() << "runs only inside LanguagePacks";
    const QImage image = ocrtest::textImage({500, 120}, {QStringLiteral("Hello there")}, ocrtest::dejaVu(36));
    const OCRResult r = OCRService::recognizeSync(image, {OCRLanguage::vietnamesePlus, false});
    std::printf("TEXT=%s\n", qPrintable(r.text));
}

struct PackCase {
    const char* name;
    bool withEnglish;
    const char* text;
    const char* diagnostic;
};

class LanguagePacks : public ::testing::TestWithParam<PackCase> {};

TEST_P(LanguagePacks, AMissingPackDegradesWithADiagnosticNotACrash) {
    const PackCase& c = GetParam();
    QTemporaryDir packs;
    const QString english = QStringLiteral("/usr/share/tesseract-ocr/5/tessdata/eng.traineddata");
    if (c.withEnglish && !QFile::link(english, packs.filePath(QStringLiteral("eng.traineddata"))))
        GTEST_SKIP() << "no English pack at " << english.toStdString();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildVariable), QStringLiteral("1"));
    env.insert(QStringLiteral("TESSDATA_PREFIX"), packs.path() + QLatin1Char('/'));
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=LanguagePackChild.ReadsWithWhatIsInstalled")});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0);
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QStringLiteral("TEXT=%1\n").arg(QString::fromUtf8(c.text)))) << out.toStdString();
    const QString err = QString::fromUtf8(child.readAllStandardError());
    EXPECT_TRUE(err.contains(QString::fromUtf8(c.diagnostic))) << err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Folders, LanguagePacks,
    ::testing::Values(PackCase{"englishOnly", true, "Hello there",
                               "Pictro: text recognition: language pack \"vie\" is not installed; reading with eng"},
                      PackCase{"none", false, "", "Pictro: text recognition: the engine could not start with eng"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
