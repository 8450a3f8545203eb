#include "platform/fake/FakePlatform.h"
#include "save/ImageEncoding.h"
#include "save/SaveService.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Every image Pictro writes reopens at the scale it was written with, so taking it back in and out
// again never changes its pixels.
namespace {

QImage picture(ImageFileFormat format, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    if (format == ImageFileFormat::png) {
        image.fill(QColor(30, 90, 160));
        return image;
    }
    QRandomGenerator rng(7); // photo-like, so the automatic choice is JPEG
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, rng.generate() | 0xff000000u);
    return image;
}

struct Trip {
    const char* name;
    ImageFileFormat format;
    double scale;
    bool downscale;
    bool clipboard;
};

void PrintTo(const Trip& trip, std::ostream* out) {
    *out << trip.name;
}

class PointScaleRoundTrip : public testing::TestWithParam<Trip> {
  protected:
    void SetUp() override {
        Settings::registerDefaults();
        platform = &FakePlatform::installNew();
        settings = std::make_unique<Settings>(dir.filePath(QStringLiteral("Pictro.conf")));
        settings->set(keys::screenshotsFolder, dir.filePath(QStringLiteral("shots")));
        settings->set(keys::downscaleRetina, GetParam().downscale);
        service = std::make_unique<SaveService>(*settings, &platform->fakePasteboard);
    }

    // Writes the image where the case says and reads back what a later open would get.
    std::vector<QImage> writeAndReopen(const CapturedImage& image) {
        if (!GetParam().clipboard) {
            const auto path = service->save(image);
            if (!path) return {};
            return {QImage(*path)};
        }
        service->copyToClipboard(image);
        const auto& board = platform->fakePasteboard;
        return {QImage::fromData(board.png, "PNG"), board.image};
    }

    QTemporaryDir dir;
    FakePlatform* platform = nullptr;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<SaveService> service;
};

TEST_P(PointScaleRoundTrip, ReopensAtTheWrittenScaleAndKeepsItsPixels) {
    const Trip trip = GetParam();
    const QImage source = picture(trip.format, QSize(400, 200));
    const double writtenScale = trip.downscale ? 1.0 : trip.scale;
    const QSize writtenSize = source.size() / (trip.downscale ? trip.scale : 1.0);

    CapturedImage current{source, trip.scale};
    for (int round = 1; round <= 3; ++round) {
        const std::vector<QImage> reopened = writeAndReopen(current);
        ASSERT_FALSE(reopened.empty()) << "round " << round;
        for (const QImage& back : reopened) {
            ASSERT_FALSE(back.isNull()) << "round " << round;
            EXPECT_EQ(back.size(), writtenSize) << "round " << round;
            EXPECT_DOUBLE_EQ(imageencoding::scaleFromDensity(back), writtenScale) << "round " << round;
        }
        current = CapturedImage{reopened.front(), imageencoding::scaleFromDensity(reopened.front())};
    }
}

INSTANTIATE_TEST_SUITE_P(
    Writers, PointScaleRoundTrip,
    testing::Values(Trip{"png1x", ImageFileFormat::png, 1.0, false, false},
                    Trip{"png2x", ImageFileFormat::png, 2.0, false, false},
                    Trip{"png2xDownscaled", ImageFileFormat::png, 2.0, true, false},
                    Trip{"jpeg1x", ImageFileFormat::jpeg, 1.0, false, false},
                    Trip{"jpeg2x", ImageFileFormat::jpeg, 2.0, false, false},
                    Trip{"jpeg2xDownscaled", ImageFileFormat::jpeg, 2.0, true, false},
                    Trip{"clipboard1x", ImageFileFormat::png, 1.0, false, true},
                    Trip{"clipboard1xDownscaled", ImageFileFormat::png, 1.0, true, true},
                    Trip{"clipboard2x", ImageFileFormat::png, 2.0, false, true},
                    Trip{"clipboard2xDownscaled", ImageFileFormat::png, 2.0, true, true}),
    [](const testing::TestParamInfo<Trip>& info) { return std::string(info.param.name); });

// A PNG without a density chunk, as most other programs write them.
QByteArray withoutDensity(QByteArray png) {
    const qsizetype at = png.indexOf("pHYs");
    if (at >= 4) png.remove(at - 4, 4 + 4 + 9 + 4); // length, type, data, checksum
    return png;
}

TEST(PointScale, AnImageWithoutDensityIsAtOnePixelPerPoint) {
    const QImage plain = picture(ImageFileFormat::png, QSize(400, 200));
    const auto png = imageencoding::encode(imageencoding::withPointSize(plain, 2.0), ImageFileFormat::png);
    ASSERT_TRUE(png);
    const QByteArray bare = withoutDensity(*png);
    ASSERT_FALSE(bare.contains("pHYs"));
    const QImage back = QImage::fromData(bare, "PNG");
    ASSERT_EQ(back.size(), QSize(400, 200));
    EXPECT_DOUBLE_EQ(imageencoding::scaleFromDensity(back), 1.0);
    EXPECT_DOUBLE_EQ(imageencoding::scaleFromDensity(QImage::fromData(*png, "PNG")), 2.0);
}

} // namespace
