#include "save/PngWriter.h"

#include "support/ExternalProgram.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Text on a flat background (rows best unfiltered) above a gradient (rows best filtered "up"), so
// both filters and, with enough rows, several compressed bands end up in one file. Such a picture,
// a few hundred rows or more, compresses far enough to be compressed again by the stronger
// compressor; a `busy` one, with a band of noise, keeps the fast compressor's stream.
QImage textAndGradient(int w, int h, QImage::Format format, bool busy = false) {
    QImage image(w, h, format);
    image.fill(QColor(250, 250, 250));
    QPainter p(&image);
    QLinearGradient g(0, h / 2, 0, h);
    g.setColorAt(0, QColor(20, 60, 140, 255));
    g.setColorAt(1, QColor(240, 200, 120, format == QImage::Format_RGB32 ? 255 : 90));
    p.fillRect(0, h / 2, w, h - h / 2, g);
    p.setPen(QColor(30, 30, 40));
    for (int y = 14; y < h / 2; y += 48)
        p.drawText(4, y, QStringLiteral("Pictro saves text rows unfiltered %1").arg(y));
    p.end();
    quint32 seed = 12345;
    for (int y = h / 4; busy && y < h * 3 / 4; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x, seed = seed * 1664525u + 1013904223u)
            row[x] = 0xff000000u | (seed >> 8);
    }
    return image;
}

struct Case {
    const char* name;
    int width, height;
    QImage::Format format;
    int workers;
    bool busy;
};

class PngWriterRoundTrip : public ::testing::TestWithParam<Case> {};

// Every thread count, layout and compressor decodes to exactly the pixels given (straight alpha
// compared, since that is what PNG stores).
TEST_P(PngWriterRoundTrip, DecodesToTheSamePixels) {
    const Case c = GetParam();
    const QImage source = textAndGradient(c.width, c.height, c.format, c.busy);
    const auto png = pngwriter::encode(source, c.workers);
    ASSERT_TRUE(png);
    const QImage decoded = QImage::fromData(*png, "PNG");
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.hasAlphaChannel(), source.hasAlphaChannel());
    const QImage::Format straight = source.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    EXPECT_EQ(decoded.convertToFormat(straight), source.convertToFormat(straight));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PngWriterRoundTrip,
    ::testing::Values(Case{"OneRow", 37, 1, QImage::Format_RGB32, 2, false},
                      Case{"OneColumn", 1, 300, QImage::Format_RGB32, 2, false},
                      Case{"OpaqueOneThread", 301, 260, QImage::Format_RGB32, 1, false},
                      Case{"OpaqueTwoThreads", 301, 600, QImage::Format_RGB32, 2, false},
                      Case{"OpaqueFiveThreads", 640, 1100, QImage::Format_RGB32, 5, false},
                      Case{"AlphaTwoThreads", 257, 700, QImage::Format_ARGB32_Premultiplied, 2, false},
                      Case{"OtherFormatConverted", 120, 400, QImage::Format_RGB888, 2, false},
                      // Flat, with more rows than libdeflate takes at once.
                      Case{"TallFlatOneThread", 3000, 4000, QImage::Format_RGB32, 1, false},
                      Case{"BusyOneRow", 37, 1, QImage::Format_RGB32, 2, true},
                      Case{"BusyOneThread", 301, 260, QImage::Format_RGB32, 1, true},
                      Case{"BusyThreeThreads", 640, 1100, QImage::Format_RGB32, 3, true},
                      Case{"BusyAlpha", 257, 700, QImage::Format_ARGB32_Premultiplied, 2, true}),
    [](const auto& info) { return std::string(info.param.name); });

class PngWriterReaders : public ::testing::TestWithParam<bool> {};

// Other readers than Qt's, for the streams of both compressors: pngcheck verifies every chunk's
// CRC and the zlib stream, ImageMagick decodes the file to the same pixels.
TEST_P(PngWriterReaders, StandardToolsReadTheJoinedStream) {
    const QImage source = textAndGradient(500, 900, QImage::Format_RGB32, GetParam());
    const auto png = pngwriter::encode(source, 3);
    ASSERT_TRUE(png);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("split.png"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(*png);
    f.close();

    QProcess check;
    check.start(QStringLiteral("pngcheck"), {QStringLiteral("-q"), path});
    ASSERT_TRUE(check.waitForFinished(10000));
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().constData();

    // ImageMagick's own decoder, writing the raw 8-bit RGB it read.
    QProcess stream;
    ASSERT_TRUE(testsupport::startProgram(stream, QStringLiteral("stream"),
                                          {QStringLiteral("-map"), QStringLiteral("rgb"),
                                           QStringLiteral("-storage-type"), QStringLiteral("char"), path,
                                           QStringLiteral("-")}));
    ASSERT_TRUE(stream.waitForFinished(10000));
    const QByteArray rgb = stream.readAllStandardOutput();
    EXPECT_EQ(rgb, QByteArray(reinterpret_cast<const char*>(
                                  source.convertToFormat(QImage::Format_RGB888).constBits()),
                              qsizetype(500) * 900 * 3));
}

INSTANTIATE_TEST_SUITE_P(Pictures, PngWriterReaders, ::testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Busy" : "Flat"); });

TEST(PngWriter, RecordsResolutionAndRefusesNullImages) {
    QImage image = textAndGradient(40, 30, QImage::Format_RGB32);
    image.setDotsPerMeterX(7559);
    image.setDotsPerMeterY(3780);
    const QImage decoded = QImage::fromData(pngwriter::encode(image).value_or(QByteArray()), "PNG");
    EXPECT_EQ(decoded.dotsPerMeterX(), 7559);
    EXPECT_EQ(decoded.dotsPerMeterY(), 3780);
    EXPECT_FALSE(pngwriter::encode(QImage()));
}

} // namespace

namespace {

// Bytes of address space the process holds now (VmSize).
rlim_t addressSpaceInUse() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmSize:", 0) == 0) return static_cast<rlim_t>(std::stoull(line.substr(7))) * 1024;
    return 0;
}

} // namespace

#ifndef __SANITIZE_ADDRESS__ // the sanitizer's own reservations do not fit under such a limit
// A process at its limits can still save: when no thread can be started (here, no room left for
// a thread's stack), the encoder does all the work on the caller's thread instead of aborting.
TEST(PngWriter, EncodesWhenNoThreadCanBeStarted) {
    const QImage pictures[] = {textAndGradient(300, 600, QImage::Format_RGB32, true),
                               textAndGradient(300, 600, QImage::Format_RGB32, false)};
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlim_t room = addressSpaceInUse() + 6 * 1024 * 1024; // less than one 8 MiB stack
        const rlimit limit{room, room};
        if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(3);
        try {
            for (const QImage& picture : pictures) {
                const auto png = pngwriter::encode(picture, 4);
                if (!png || QImage::fromData(*png, "PNG").convertToFormat(QImage::Format_RGB32) != picture)
                    _exit(1);
            }
        } catch (...) {
            _exit(2); // never back into the test runner from the forked copy
        }
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the encoder died (signal " << WTERMSIG(status) << ")";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif
