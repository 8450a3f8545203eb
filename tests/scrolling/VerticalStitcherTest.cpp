#include "scrolling/VerticalStitcher.h"

#include <QPainter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

// Every row its own random colour (channels 20–230, so brightness shifts stay in range).
QImage randomRows(int width, int height, quint32 seed) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        const QRgb c = qRgb(20 + random.bounded(211), 20 + random.bounded(211), 20 + random.bounded(211));
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(line, line + width, c);
    }
    return image;
}

QImage rows(const QImage& source, int top, int height) {
    return source.copy(0, top, source.width(), height);
}

bool samePixels(const QImage& a, const QImage& b) {
    return a.size() == b.size() &&
           a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

// Adds independent noise of up to ±amount to every channel of every pixel.
QImage noisy(const QImage& image, int amount, quint32 seed) {
    QImage out = image.convertToFormat(QImage::Format_RGB32);
    QRandomGenerator random(seed);
    const auto jitter = [&](int v) {
        return std::clamp(v + random.bounded(2 * amount + 1) - amount, 0, 255);
    };
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = qRgb(jitter(qRed(line[x])), jitter(qGreen(line[x])), jitter(qBlue(line[x])));
    }
    return out;
}

// A page as a scrolled application shows it: bands of varied height and shade with text on them.
QImage page(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    QRandomGenerator random(7);
    QFont font;
    font.setPixelSize(16);
    p.setFont(font);
    for (int y = 0; y < height;) {
        const int band = 20 + random.bounded(70);
        p.fillRect(0, y, width, band, QColor::fromHsv(random.bounded(360), 40, 200 + random.bounded(55)));
        p.setPen(Qt::black);
        p.drawText(10 + random.bounded(100), y + band - 4, QStringLiteral("Paragraph %1 of the page").arg(y));
        y += band;
    }
    return image;
}

TEST(VerticalStitcher, StartsWithTheFirstFrame) {
    const QImage first = randomRows(300, 200, 1);
    const VerticalStitcher stitcher(first);
    ASSERT_EQ(stitcher.slices().size(), 1u);
    EXPECT_EQ(stitcher.width(), 300);
    EXPECT_EQ(stitcher.totalHeight(), 200);
    EXPECT_TRUE(samePixels(stitcher.lastFrame(), first));
    const auto composed = stitcher.compose();
    ASSERT_TRUE(composed);
    EXPECT_TRUE(samePixels(*composed, first));
}

TEST(VerticalStitcher, ReconstructsASixFramePageExactly) {
    const QImage source = randomRows(400, 2000, 42);
    const int starts[] = {0, 320, 640, 960, 1280, 1500};
    VerticalStitcher stitcher(rows(source, 0, 500));
    QList<int> added;
    for (int i = 1; i < 6; ++i) {
        const int before = stitcher.totalHeight();
        ASSERT_TRUE(stitcher.append(rows(source, starts[i], 500), ScrollDirection::down));
        added << stitcher.totalHeight() - before;
    }
    EXPECT_EQ(added, (QList<int>{320, 320, 320, 320, 220}));
    const auto composed = stitcher.compose();
    ASSERT_TRUE(composed);
    EXPECT_EQ(composed->size(), QSize(400, 2000));
    EXPECT_TRUE(samePixels(*composed, source));
}

TEST(VerticalStitcher, ScrollingUpPutsTheTopRowsOfEachFrameAboveTheEarlierOnes) {
    const QImage source = randomRows(400, 2000, 43);
    const int starts[] = {1500, 1180, 860, 540, 220, 0};
    VerticalStitcher stitcher(rows(source, 1500, 500));
    for (int i = 1; i < 6; ++i) {
        EXPECT_EQ(VerticalStitcher::findOverlap(stitcher.lastFrame(), rows(source, starts[i], 500),
                                                ScrollDirection::up),
                  starts[i - 1] - starts[i]);
        ASSERT_TRUE(stitcher.append(rows(source, starts[i], 500), ScrollDirection::up));
    }
    EXPECT_FALSE(stitcher.append(rows(source, 0, 500), ScrollDirection::up))
        << "the top of the page was reached";
    const auto composed = stitcher.compose();
    ASSERT_TRUE(composed);
    EXPECT_TRUE(samePixels(*composed, source));
}

TEST(VerticalStitcher, StitchesADrawnPageWithSlightlyNoisyFrames) {
    const QImage source = page(600, 2400);
    const int step = 280;
    VerticalStitcher stitcher(noisy(rows(source, 0, 500), 4, 100));
    int top = 0;
    while (top + 500 < source.height()) {
        const int previous = top;
        top = std::min(top + step, source.height() - 500);
        const QImage frame = noisy(rows(source, top, 500), 4, 100 + top);
        ASSERT_EQ(VerticalStitcher::findOverlap(stitcher.lastFrame(), frame), top - previous) << "at " << top;
        ASSERT_TRUE(stitcher.append(frame, ScrollDirection::down));
    }
    EXPECT_EQ(stitcher.totalHeight(), source.height());
    ASSERT_TRUE(stitcher.compose());
    EXPECT_EQ(stitcher.compose()->size(), source.size());
}

TEST(VerticalStitcher, RejectsAFrameThatShowsNothingNew) {
    const QImage frame = randomRows(300, 300, 3);
    for (ScrollDirection d : {ScrollDirection::down, ScrollDirection::up}) {
        VerticalStitcher stitcher(frame);
        EXPECT_FALSE(stitcher.append(frame, d));
        EXPECT_EQ(stitcher.totalHeight(), 300);
        EXPECT_EQ(stitcher.slices().size(), 1u);
    }
    // A blank page matches itself at every shift; the smallest, 0, wins.
    QImage blank(300, 300, QImage::Format_RGB32);
    blank.fill(Qt::white);
    EXPECT_EQ(VerticalStitcher::findOverlap(blank, blank), 0);
}

TEST(VerticalStitcher, RejectsAFrameOfAnotherWidth) {
    VerticalStitcher stitcher(randomRows(300, 300, 4));
    EXPECT_FALSE(stitcher.append(randomRows(301, 300, 5), ScrollDirection::down));
    EXPECT_FALSE(stitcher.append(QImage(), ScrollDirection::down));
    EXPECT_EQ(stitcher.totalHeight(), 300);
    EXPECT_EQ(stitcher.slices().size(), 1u);
}

TEST(VerticalStitcher, TakesUnmatchedFramesWhole) {
    VerticalStitcher stitcher(randomRows(300, 300, 6));
    const QImage unrelated = randomRows(300, 300, 7);
    EXPECT_FALSE(VerticalStitcher::findOverlap(stitcher.lastFrame(), unrelated));
    EXPECT_TRUE(stitcher.append(unrelated, ScrollDirection::down));
    EXPECT_EQ(stitcher.totalHeight(), 600);
    // A frame of another height cannot be compared either, so it too is taken whole.
    EXPECT_TRUE(stitcher.append(randomRows(300, 120, 8), ScrollDirection::down));
    EXPECT_EQ(stitcher.totalHeight(), 720);
    EXPECT_TRUE(samePixels(stitcher.slices().back(), randomRows(300, 120, 8)));
}

TEST(VerticalStitcher, RefusesWhatItCannotPlaceWhenAskedTo) {
    using Unmatched = VerticalStitcher::Unmatched;
    const QImage source = randomRows(300, 1200, 12);
    VerticalStitcher stitcher(rows(source, 0, 300));
    // A jump past the frame: nothing to match.
    EXPECT_FALSE(stitcher.append(rows(source, 500, 300), ScrollDirection::down, Unmatched::refuse));
    EXPECT_TRUE(stitcher.lastRefusedUnmatched());
    EXPECT_EQ(stitcher.totalHeight(), 300);
    // An ordinary step still joins exactly.
    EXPECT_TRUE(stitcher.append(rows(source, 100, 300), ScrollDirection::down, Unmatched::refuse));
    EXPECT_FALSE(stitcher.lastRefusedUnmatched());
    EXPECT_TRUE(samePixels(*stitcher.compose(), rows(source, 0, 400)));
    // The same frame again is nothing new, not a jump.
    EXPECT_FALSE(stitcher.append(rows(source, 100, 300), ScrollDirection::down, Unmatched::refuse));
    EXPECT_FALSE(stitcher.lastRefusedUnmatched());

    // A blank bottom band fits anywhere: a moved frame cannot be placed from it.
    QImage blankEnd = rows(source, 0, 300);
    QPainter(&blankEnd).fillRect(0, 200, 300, 100, Qt::white);
    VerticalStitcher blank(blankEnd);
    QImage moved(300, 300, QImage::Format_RGB32);
    moved.fill(Qt::white);
    QPainter(&moved).drawImage(0, 250, rows(source, 700, 50));
    EXPECT_FALSE(blank.append(moved, ScrollDirection::down, Unmatched::refuse));
    EXPECT_TRUE(blank.lastRefusedUnmatched());
}

TEST(VerticalStitcher, NeverMatchesFramesOf40RowsOrLess) {
    const QImage source = randomRows(200, 400, 9);
    VerticalStitcher stitcher(rows(source, 0, 40));
    EXPECT_FALSE(VerticalStitcher::findOverlap(rows(source, 0, 40), rows(source, 0, 40)));
    EXPECT_TRUE(stitcher.append(rows(source, 0, 40), ScrollDirection::down)) << "even an identical frame";
    EXPECT_TRUE(stitcher.append(rows(source, 10, 40), ScrollDirection::down));
    EXPECT_EQ(stitcher.totalHeight(), 120);
    // One row more and frames are compared.
    EXPECT_EQ(VerticalStitcher::findOverlap(rows(source, 0, 41), rows(source, 10, 41)), 10);
}

// The band is a fifth of the frame (24 rows below 120), and the content can move by at most the
// rest: 400 rows for a 500-row frame, 76 for a 100-row one.
struct ShiftCase {
    int height;
    int shift;
    bool found;
};

void PrintTo(const ShiftCase& c, std::ostream* os) {
    *os << c.height << "-row frames, shift " << c.shift << (c.found ? "" : " (undetectable)");
}

class DetectableShift : public testing::TestWithParam<ShiftCase> {};

TEST_P(DetectableShift, CoversTheFrameAboveTheBand) {
    const ShiftCase c = GetParam();
    const QImage source = randomRows(250, 1200, 10 + c.height);
    const auto overlap =
        VerticalStitcher::findOverlap(rows(source, 0, c.height), rows(source, c.shift, c.height));
    EXPECT_EQ(overlap, c.found ? std::optional<int>(c.shift) : std::nullopt);
    // Upwards the same range applies, measured from the top.
    const auto up = VerticalStitcher::findOverlap(rows(source, 600, c.height),
                                                  rows(source, 600 - c.shift, c.height), ScrollDirection::up);
    EXPECT_EQ(up, c.found ? std::optional<int>(c.shift) : std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Ranges, DetectableShift,
                         testing::Values(ShiftCase{500, 1, true}, ShiftCase{500, 400, true},
                                         ShiftCase{500, 401, false}, ShiftCase{100, 1, true},
                                         ShiftCase{100, 76, true}, ShiftCase{100, 77, false},
                                         ShiftCase{119, 95, true}, ShiftCase{120, 96, true},
                                         ShiftCase{41, 17, true}));

TEST(VerticalStitcher, MatchesBelowSixGreyLevelsOnly) {
    const QImage source = randomRows(200, 600, 11);
    const QImage previous = rows(source, 0, 300);
    const auto brighter = [&](int by) {
        QImage next = rows(source, 50, 300);
        for (int y = 0; y < next.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(next.scanLine(y));
            for (int x = 0; x < next.width(); ++x)
                line[x] = qRgb(qRed(line[x]) + by, qGreen(line[x]) + by, qBlue(line[x]) + by);
        }
        return next;
    };
    EXPECT_EQ(VerticalStitcher::findOverlap(previous, brighter(5)), 50);
    EXPECT_FALSE(VerticalStitcher::findOverlap(previous, brighter(7)));
}

TEST(VerticalStitcher, PrefersTheSmallestOfEquallyGoodShifts) {
    // Stripes repeating every 50 rows fit a 30-row scroll equally at 30, 80, 130 …
    QImage stripes(200, 400, QImage::Format_RGB32);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 200; ++x)
            stripes.setPixel(x, y, qRgb((y % 50) * 5, 80, 80));
    QImage taller(200, 500, QImage::Format_RGB32);
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 200; ++x)
            taller.setPixel(x, y, qRgb((y % 50) * 5, 80, 80));
    EXPECT_EQ(VerticalStitcher::findOverlap(stripes, rows(taller, 30, 400)), 30);
}

TEST(VerticalStitcher, ComposesInPixelsAndNothingWithoutFrames) {
    QImage first = randomRows(100, 60, 12);
    first.setDevicePixelRatio(2.0);
    VerticalStitcher stitcher(first);
    QImage second = randomRows(100, 30, 13);
    second.setDevicePixelRatio(2.0);
    ASSERT_TRUE(stitcher.append(second, ScrollDirection::down));
    const auto composed = stitcher.compose();
    ASSERT_TRUE(composed);
    EXPECT_EQ(composed->size(), QSize(100, 90));
    EXPECT_EQ(composed->pixel(50, 70), second.pixel(50, 10));

    VerticalStitcher empty{QImage()};
    EXPECT_FALSE(empty.compose());
    EXPECT_FALSE(empty.append(randomRows(100, 60, 14), ScrollDirection::down));
}

} // namespace
