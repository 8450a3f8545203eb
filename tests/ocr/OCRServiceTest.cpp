#include "OCRTestImages.h"

#include "capture/CaptureEngine.h"
#include "ocr/OCRService.h"
#include "ocr/QRCodeImage.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>

using ocrtest::dejaVu;
using ocrtest::textImage;

namespace {

OCRResult read(const QImage& image, bool removeLineBreaks = false,
               OCRLanguage language = OCRLanguage::englishPlus) {
    return OCRService::recognizeSync(image, {language, removeLineBreaks});
}

struct TextCase {
    const char* text;
    int pixelSize;
    bool bold;
    QSize size;
};

class DrawnText : public ::testing::TestWithParam<TextCase> {};

TEST_P(DrawnText, ReadsBackAsDrawn) {
    const TextCase c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    const OCRResult r = read(textImage(c.size, {text}, dejaVu(c.pixelSize, c.bold)));
    EXPECT_EQ(r.text, text);
    EXPECT_TRUE(r.qrPayloads.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, DrawnText,
    ::testing::Values(TextCase{"PICTRO TEST 123", 72, true, {900, 240}},
                      TextCase{"Hello", 32, false, {300, 120}},
                      // Screen-sized type, as a dragged area of a window holds it.
                      TextCase{"Settings saved to the screenshots folder", 15, false, {520, 90}}));

class LineBreaks : public ::testing::TestWithParam<bool> {};

TEST_P(LineBreaks, LinesJoinAsTheSettingSays) {
    const QStringList lines{QStringLiteral("First line here"), QStringLiteral("Second line"),
                            QStringLiteral("Third one")};
    const bool remove = GetParam();
    const OCRResult r = read(textImage({600, 260}, lines, dejaVu(28)), remove);
    EXPECT_EQ(r.text, lines.join(remove ? QStringLiteral(" ") : QStringLiteral("\n")));
}

INSTANTIATE_TEST_SUITE_P(Both, LineBreaks, ::testing::Bool());

TEST(OCRService, QRCodeAloneGivesItsPayloadAndNoText) {
    const QString payload = QStringLiteral("https://example.org/pictro?id=42");
    QImage page(500, 500, QImage::Format_RGB32);
    page.fill(Qt::white);
    const OCRResult r = read(ocrtest::with(page, qrcodeimage::make(payload, 8), {40, 40}));
    EXPECT_EQ(r.qrPayloads, QStringList{payload});
    EXPECT_EQ(r.text, QString());
    EXPECT_EQ(r.clipboardText(), payload);
}

TEST(OCRService, QRCodeBesideTextPutsThePayloadFirst) {
    const QString payload = QStringLiteral("PAYLOAD-7");
    const QImage page = textImage({900, 300}, {QStringLiteral("Hello")}, dejaVu(40), {460, 110});
    const OCRResult r = read(ocrtest::with(page, qrcodeimage::make(payload, 8), {20, 20}));
    EXPECT_EQ(r.text, QStringLiteral("Hello"));
    EXPECT_EQ(r.qrPayloads, QStringList{payload});
    EXPECT_EQ(r.clipboardText(), payload + QStringLiteral("\nHello"));
}

TEST(OCRService, TextOverTransparencyReadsAsOnPaper) {
    // Transparent pixels taken as black would hide black type entirely.
    const QImage image = textImage({400, 120}, {QStringLiteral("Clear")}, dejaVu(40), {40, 30},
                                   Qt::transparent, QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(read(image).text, QStringLiteral("Clear"));
}

TEST(OCRService, VietnameseFirstReadsVietnameseText) {
    const QString text = QStringLiteral("Xin chào thế giới");
    const OCRResult r = read(textImage({700, 140}, {text}, dejaVu(40)), false, OCRLanguage::vietnamesePlus);
    EXPECT_EQ(r.text, text);
}

struct BlankCase {
    const char* name;
    QSize size;
};

class NothingToRead : public ::testing::TestWithParam<BlankCase> {};

TEST_P(NothingToRead, GivesAnEmptyResult) {
    QImage image(GetParam().size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const OCRResult r = read(image);
    EXPECT_EQ(r, OCRResult{});
    EXPECT_TRUE(r.clipboardText().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Sizes, NothingToRead,
                         ::testing::Values(BlankCase{"null", {0, 0}}, BlankCase{"onePixel", {1, 1}},
                                           BlankCase{"screen", {1440, 900}},
                                           // Longer than the engine's 16-bit coordinates reach.
                                           BlankCase{"tallScroll", {400, 40000}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OCRService, TextFarDownATallImageIsStillRead) {
    QImage tall(600, 36000, QImage::Format_RGB32);
    tall.fill(Qt::white);
    const QImage line = textImage({600, 200}, {QStringLiteral("Bottom")}, dejaVu(64));
    EXPECT_EQ(read(ocrtest::with(tall, line, {0, 35700})).text, QStringLiteral("Bottom"));
}

TEST(OCRService, RecognizeRunsOffTheMainThreadAndDeliversToIt) {
    const QImage image = textImage({300, 120}, {QStringLiteral("Async")}, dejaVu(32));
    QObject context;
    std::optional<OCRResult> delivered;
    QThread* deliveredOn = nullptr;
    OCRService::shared()
        .recognize(image, {OCRLanguage::englishPlus, false})
        .then(&context, [&](const OCRResult& r) {
            delivered = r;
            deliveredOn = QThread::currentThread();
        });
    EXPECT_FALSE(delivered); // returned before recognising
    ASSERT_TRUE(testsupport::waitUntil([&] { return delivered.has_value(); }, 30000));
    EXPECT_EQ(delivered->text, QStringLiteral("Async"));
    EXPECT_EQ(deliveredOn, QThread::currentThread());
}

TEST(OCRService, CapturesNeverQueueBehindRecognitions) {
    FakePlatform& platform = FakePlatform::installNew();
    const ScreenInfo screen = platform.fakeScreens.addScreen(QRectF(0, 0, 800, 600), 1.0);
    platform.fakeCapture.setDisplayPixels(screen.displayId, QImage(800, 600, QImage::Format_RGB32));
    // Recognitions that hold their thread until released, more of them than the machine has cores.
    std::atomic<bool> release{false};
    std::atomic<int> running{0};
    OCRService slow([&](const QImage&, OCRService::Options) {
        ++running;
        while (!release)
            QThread::msleep(5);
        return OCRResult{};
    });
    std::vector<QFuture<OCRResult>> recognitions;
    for (int i = 0; i < QThread::idealThreadCount() + 1; ++i)
        recognitions.push_back(slow.recognize(QImage(10, 10, QImage::Format_RGB32), {}));
    ASSERT_TRUE(testsupport::waitUntil([&] { return running >= 1; }));

    QElapsedTimer clock;
    clock.start();
    auto capture = CaptureEngine::captureDisplay(screen);
    const bool captured = testsupport::waitUntil([&] { return capture.isFinished(); }, 2000);
    const qint64 took = clock.elapsed();
    release = true;
    for (auto& r : recognitions)
        r.waitForFinished();
    ASSERT_TRUE(captured) << "the capture waited for the recognitions";
    EXPECT_LT(took, 1000);
}

} // namespace
