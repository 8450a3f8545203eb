#include "save/FormatDecision.h"
#include "save/SaveService.h"

#include <QPainter>
#include <QRandomGenerator>

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using testsupport::solidImage;

QImage noise(int w, int h, QImage::Format f = QImage::Format_RGB32) {
    QImage image(w, h, f);
    QRandomGenerator rng(1234);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = rng.generate() | 0xff000000u;
    }
    return image;
}

// A 64 × 64 image whose pixels carry exactly `keys` distinct 12-bit colours.
QImage withColourKeys(int keys) {
    QImage image(64, 64, QImage::Format_RGB32);
    for (int i = 0; i < 64 * 64; ++i) {
        const int k = i < keys ? i : 0;
        image.setPixel(i % 64, i / 64, qRgb((k >> 8) * 16 + 3, ((k >> 4) & 15) * 16 + 5, (k & 15) * 16 + 7));
    }
    return image;
}

TEST(FormatDecision, FlatIsPngAndNoiseIsJpeg) {
    EXPECT_EQ(SaveService::decideFormat(solidImage(QSize(500, 500), Qt::darkCyan), SaveFormat::autoFormat),
              ImageFileFormat::png);
    EXPECT_EQ(SaveService::decideFormat(noise(500, 500), SaveFormat::autoFormat), ImageFileFormat::jpeg);
    EXPECT_EQ(SaveService::decideFormat(noise(500, 500), SaveFormat::png), ImageFileFormat::png);
}

TEST(FormatDecision, ColourCountBoundary) {
    EXPECT_EQ(formatdecision::distinctColourKeys(withColourKeys(1100)), 1100);
    EXPECT_EQ(SaveService::decideFormat(withColourKeys(1100), SaveFormat::autoFormat), ImageFileFormat::png);
    EXPECT_EQ(formatdecision::distinctColourKeys(withColourKeys(1101)), 1101);
    EXPECT_EQ(SaveService::decideFormat(withColourKeys(1101), SaveFormat::autoFormat), ImageFileFormat::jpeg);
}

TEST(FormatDecision, TransparencyKeepsPngButAnOpaqueAlphaChannelDoesNot) {
    // A noisy photo in a format with alpha, alpha everywhere 255: still a photo.
    QImage opaquePhoto = noise(400, 400, QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(SaveService::decideFormat(opaquePhoto, SaveFormat::autoFormat), ImageFileFormat::jpeg);
    // A transparent band wide enough to reach the 32 × 32 sample.
    QImage holed = opaquePhoto.copy();
    {
        QPainter p(&holed);
        p.setCompositionMode(QPainter::CompositionMode_Clear);
        p.fillRect(QRect(0, 0, 400, 40), Qt::transparent);
    }
    EXPECT_EQ(SaveService::decideFormat(holed, SaveFormat::autoFormat), ImageFileFormat::png);
    // Alpha of 250 everywhere is not transparency; 249 is.
    QImage nearlyOpaque = noise(200, 200, QImage::Format_ARGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) {
            const QRgb p = nearlyOpaque.pixel(x, y);
            nearlyOpaque.setPixel(x, y, qRgba(qRed(p), qGreen(p), qBlue(p), 250));
        }
    EXPECT_EQ(SaveService::decideFormat(nearlyOpaque, SaveFormat::autoFormat), ImageFileFormat::jpeg);
    nearlyOpaque.setPixel(100, 100, 0);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) {
            const QRgb p = nearlyOpaque.pixel(x, y);
            nearlyOpaque.setPixel(x, y, qRgba(qRed(p), qGreen(p), qBlue(p), 249));
        }
    EXPECT_EQ(SaveService::decideFormat(nearlyOpaque, SaveFormat::autoFormat), ImageFileFormat::png);
}

TEST(FormatDecision, SampleIsTheImageStretchedIntoTheSquare) {
    // Left half red, right half blue, of a wide image: the square sample keeps the halves.
    QImage wide(1000, 10, QImage::Format_RGB32);
    wide.fill(Qt::red);
    {
        QPainter p(&wide);
        p.fillRect(QRect(500, 0, 500, 10), Qt::blue);
    }
    const auto sample = formatdecision::downsample(wide, 4);
    ASSERT_TRUE(sample);
    ASSERT_EQ(sample->size(), 4 * 4 * 4);
    const auto* b = reinterpret_cast<const uchar*>(sample->constData());
    EXPECT_EQ((std::array{b[0], b[1], b[2], b[3]}), (std::array<uchar, 4>{255, 0, 0, 255}));
    EXPECT_EQ((std::array{b[12], b[13], b[14], b[15]}), (std::array<uchar, 4>{0, 0, 255, 255}));
    // Premultiplied, in any source format.
    QImage halfAlpha(8, 8, QImage::Format_ARGB32);
    halfAlpha.fill(qRgba(200, 100, 0, 128));
    const auto pm = formatdecision::downsample(halfAlpha, 2);
    const auto* q = reinterpret_cast<const uchar*>(pm->constData());
    EXPECT_NEAR(q[0], 100, 1);
    EXPECT_EQ(q[3], 128);
    EXPECT_FALSE(formatdecision::downsample(QImage(), 32).has_value());
}

} // namespace
