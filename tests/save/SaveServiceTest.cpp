#include "save/SaveService.h"
#include "platform/fake/FakePlatform.h"
#include "save/ImageEncoding.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testsupport::solidImage;
using testsupport::StderrCapture;

QImage noise(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    QRandomGenerator rng(99);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, rng.generate() | 0xff000000u);
    return image;
}

class SaveServiceTest : public testing::Test {
  protected:
    void SetUp() override {
        Settings::registerDefaults();
        platform = &FakePlatform::installNew();
        settings = std::make_unique<Settings>(dir.filePath(QStringLiteral("Pictro.conf")));
        folder = dir.filePath(QStringLiteral("shots/deeper"));
        settings->set(keys::screenshotsFolder, folder);
        service = std::make_unique<SaveService>(*settings, &platform->fakePasteboard, [this] {
            ++clockReads;
            return clock;
        });
    }

    QTemporaryDir dir;
    FakePlatform* platform = nullptr;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<SaveService> service;
    QString folder;
    QDateTime clock{QDate(2026, 12, 7), QTime(3, 15, 34)};
    int clockReads = 0;
};

TEST_F(SaveServiceTest, NamesCollideIntoNumberedNames) {
    const CapturedImage image{solidImage(QSize(50, 40), Qt::red), 1.0};
    const auto first = service->save(image);
    const auto second = service->save(image);
    const auto third = service->save(image);
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(QFileInfo(*first).fileName(), QStringLiteral("Pictro 2026-12-07 at 03.15.34.png"));
    EXPECT_EQ(QFileInfo(*second).fileName(), QStringLiteral("Pictro 2026-12-07 at 03.15.34 (2).png"));
    EXPECT_EQ(QFileInfo(*third).fileName(), QStringLiteral("Pictro 2026-12-07 at 03.15.34 (3).png"));
    EXPECT_EQ(QFileInfo(*first).absolutePath(), QDir(folder).absolutePath()); // parents created
    EXPECT_EQ(clockReads, 1 + 2 + 3); // the clock is read again for every candidate
}

TEST_F(SaveServiceTest, AnotherProgramsFileIsNeverOverwritten) {
    QDir().mkpath(folder);
    const QString taken = QDir(folder).filePath(SaveService::fileName(clock, 1, ImageFileFormat::png));
    QFile other(taken);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("someone else's");
    other.close();
    const auto path = service->save(CapturedImage{solidImage(QSize(20, 20), Qt::blue), 1.0});
    ASSERT_TRUE(path);
    EXPECT_TRUE(path->endsWith(QStringLiteral(" (2).png")));
    QFile check(taken);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("someone else's"));
}

TEST_F(SaveServiceTest, FlatSavesAsPngNoiseAsJpeg) {
    const auto png = service->save(CapturedImage{solidImage(QSize(500, 500), Qt::darkGreen), 1.0});
    const auto jpg = service->save(CapturedImage{noise(500, 500), 1.0});
    ASSERT_TRUE(png && jpg);
    EXPECT_TRUE(png->endsWith(QStringLiteral(".png")));
    EXPECT_TRUE(jpg->endsWith(QStringLiteral(".jpg")));
    EXPECT_EQ(QImageReader(*jpg).format(), QByteArray("jpeg"));
    settings->set(keys::saveFormat, QStringLiteral("png"));
    const auto forced = service->save(CapturedImage{noise(500, 500), 1.0});
    ASSERT_TRUE(forced);
    EXPECT_TRUE(forced->endsWith(QStringLiteral(".png")));
}

TEST_F(SaveServiceTest, PhotoTooTallForJpegIsSavedAsPng) {
    // Past JPEG's 65,500-pixel limit, as a long scrolling capture of a photo page can be.
    const QImage tall = noise(32, 66000);
    ASSERT_EQ(service->decideFormat(tall), ImageFileFormat::jpeg);
    const auto path = service->save(CapturedImage{tall, 1.0});
    ASSERT_TRUE(path);
    EXPECT_TRUE(path->endsWith(QStringLiteral(".png")));
    EXPECT_EQ(QImageReader(*path).size(), tall.size());
}

TEST_F(SaveServiceTest, PngKeepsEveryPixelAndRecordsThePointSize) {
    QImage picture = noise(300, 200);
    settings->set(keys::saveFormat, QStringLiteral("png"));
    const auto path = service->save(CapturedImage{picture, 2.0});
    ASSERT_TRUE(path);
    const QImage back(*path);
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_EQ(back.dotsPerMeterX(), imageencoding::dotsPerMetreForScale(2.0));
}

TEST_F(SaveServiceTest, TransparentPixelsSurviveThePngWriter) {
    QImage picture(64, 64, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    for (int x = 0; x < 64; ++x)
        picture.setPixel(x, 10, qPremultiply(qRgba(255, 128, 0, x * 4)));
    const auto bytes = SaveService::data(picture, ImageFileFormat::png);
    ASSERT_TRUE(bytes);
    const QImage back = QImage::fromData(*bytes, "PNG").convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int x = 0; x < 64; x += 7) {
        EXPECT_EQ(qAlpha(back.pixel(x, 10)), x * 4);
        EXPECT_NEAR(qRed(back.pixel(x, 10)), qRed(picture.pixel(x, 10)), 1) << x;
    }
    EXPECT_EQ(back.pixel(5, 5), 0u);
}

TEST_F(SaveServiceTest, DownscaleSettingSavesAtOnePixelPerPoint) {
    settings->set(keys::downscaleRetina, true);
    const auto path = service->save(CapturedImage{solidImage(QSize(400, 300), Qt::gray), 2.0});
    ASSERT_TRUE(path);
    EXPECT_EQ(QImageReader(*path).size(), QSize(200, 150));
}

TEST_F(SaveServiceTest, ClipboardGetsPngThenAnImageSizedInPoints) {
    service->copyToClipboard(CapturedImage{solidImage(QSize(400, 300), Qt::gray), 2.0});
    const auto& board = platform->fakePasteboard;
    using Op = FakePasteboard::Op;
    EXPECT_EQ(board.operations, (std::vector<Op>{Op::clear, Op::png, Op::image}));
    const QImage png = QImage::fromData(board.png, "PNG");
    EXPECT_EQ(png.size(), QSize(400, 300));
    EXPECT_EQ(png.dotsPerMeterX(), 7559); // 192 dots per inch: 200 × 150 at 96 per inch
    EXPECT_EQ(board.image.size(), QSize(400, 300));
    EXPECT_EQ(board.image.deviceIndependentSize(), QSizeF(200, 150));

    settings->set(keys::downscaleRetina, true);
    service->copyToClipboard(CapturedImage{solidImage(QSize(400, 300), Qt::gray), 2.0});
    EXPECT_EQ(board.image.size(), QSize(200, 150));
    EXPECT_EQ(board.image.deviceIndependentSize(), QSizeF(200, 150));
    EXPECT_EQ(QImage::fromData(board.png, "PNG").dotsPerMeterX(), 3780);
}

// A capture both copied and saved is encoded once: whichever comes first makes the PNG, the other
// takes it as it is (here a stand-in the encoder would never make). A JPEG file is its own.
TEST_F(SaveServiceTest, CopyAndSaveShareOneEncodedPng) {
    const CapturedImage image{solidImage(QSize(120, 80), Qt::gray), 2.0};
    SaveService::SharedPng shared;
    service->copyToClipboard(image, &shared);
    ASSERT_TRUE(shared.bytes);
    EXPECT_EQ(platform->fakePasteboard.png, *shared.bytes);

    SaveService::SharedPng made{QByteArray("made once")};
    const auto path = service->save(image, &made);
    ASSERT_TRUE(path);
    QFile saved(*path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("made once"));
    service->copyToClipboard(image, &made);
    EXPECT_EQ(platform->fakePasteboard.png, QByteArray("made once"));

    const auto photo = service->save(CapturedImage{noise(200, 200), 1.0}, &made);
    ASSERT_TRUE(photo && photo->endsWith(QStringLiteral(".jpg")));
    EXPECT_EQ(QImageReader(*photo).format(), QByteArray("jpeg"));
}

TEST_F(SaveServiceTest, TinyAndHugeImagesSave) {
    const auto tiny = service->save(CapturedImage{solidImage(QSize(1, 1), Qt::red), 1.0});
    ASSERT_TRUE(tiny);
    EXPECT_EQ(QImage(*tiny).pixel(0, 0), qRgb(255, 0, 0));
    // 16384 pixels wide and a quarter of the square of that (256 MiB): the whole square spent most
    // of this suite's time in encoding alone.
    QImage huge = solidImage(QSize(16384, 4096), QColor(20, 40, 60));
    ASSERT_FALSE(huge.isNull());
    huge.setPixel(16383, 4095, qRgb(255, 255, 255));
    const auto big = service->save(CapturedImage{huge, 1.0});
    ASSERT_TRUE(big);
    QImageReader reader(*big);
    EXPECT_EQ(reader.size(), QSize(16384, 4096));
    EXPECT_TRUE(big->endsWith(QStringLiteral(".png")));
}

struct FailureCase {
    const char* name;
    std::function<QString(const QString& tmp)> folder; // returns the screenshots folder to use
};

class SaveFailure : public SaveServiceTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(SaveFailure, ReturnsNoneLogsAndLeavesNothing) {
    const QString target = GetParam().folder(dir.path());
    settings->set(keys::screenshotsFolder, target);
    StderrCapture err;
    const auto path = service->save(CapturedImage{solidImage(QSize(40, 40), Qt::red), 1.0});
    const QString log = err.text();
    EXPECT_FALSE(path.has_value());
    EXPECT_TRUE(log.startsWith(QStringLiteral("Pictro: save failed: "))) << log.toStdString();
    EXPECT_FALSE(
        QFileInfo::exists(QDir(target).filePath(SaveService::fileName(clock, 1, ImageFileFormat::png))));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, SaveFailure,
    testing::Values(
        // /proc refuses new entries even to root.
        FailureCase{"folderCannotBeCreated",
                    [](const QString&) { return QStringLiteral("/proc/pictro-test/shots"); }},
        FailureCase{"readOnlyFolder", [](const QString&) { return QStringLiteral("/proc"); }},
        FailureCase{"pathIsAFile",
                    [](const QString& tmp) {
                        const QString file = tmp + QStringLiteral("/plain-file");
                        QFile f(file);
                        f.open(QIODevice::WriteOnly);
                        f.write("x");
                        return file;
                    }}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST_F(SaveServiceTest, FullDiskLeavesNoPartialFile) {
    // A file-size limit makes the write fail part-way, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    StderrCapture err;
    settings->set(keys::saveFormat, QStringLiteral("png"));
    const auto path = service->save(CapturedImage{noise(300, 300), 1.0});
    setrlimit(RLIMIT_FSIZE, &old);
    const QString log = err.text();
    EXPECT_FALSE(path.has_value());
    EXPECT_TRUE(log.startsWith(QStringLiteral("Pictro: save failed: "))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("large"))) << log.toStdString(); // "File too large"
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
}

TEST_F(SaveServiceTest, KilledWhileWritingLeavesNoFileBehind) {
    // The file-size limit's signal kills the writer part-way, as a power cut would.
    settings->set(keys::saveFormat, QStringLiteral("png"));
    const CapturedImage image{noise(300, 300), 1.0};
    QDir().mkpath(folder);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit small{64 * 1024, 64 * 1024};
        setrlimit(RLIMIT_FSIZE, &small);
        service->save(image);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the write was not cut off";
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    EXPECT_TRUE(left.isEmpty()) << left.join(QStringLiteral(", ")).toStdString();
    // The next save after the fault gets the first name, complete.
    const auto path = service->save(image);
    ASSERT_TRUE(path);
    EXPECT_TRUE(path->endsWith(QStringLiteral("03.15.34.png")));
    EXPECT_EQ(QImage(*path).convertToFormat(QImage::Format_RGB32), image.image);
}

TEST_F(SaveServiceTest, NothingToEncodeWritesNothingAndSaysNothing) {
    StderrCapture err;
    EXPECT_FALSE(service->save(CapturedImage{QImage(), 1.0}).has_value());
    EXPECT_TRUE(err.text().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder));
}

} // namespace
