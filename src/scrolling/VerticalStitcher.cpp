#include "scrolling/VerticalStitcher.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>

namespace {

// Below this mean difference of row means (grey levels) a placement counts as a match.
constexpr double kMatchThreshold = 6.0;
// Frames this high or lower are too short to hold a trustworthy band.
constexpr int kMinimumMatchHeight = 40;

// Grey level of a premultiplied pixel, i.e. the pixel composited over black.
inline unsigned grayOf(QRgb px) {
    return (77u * qRed(px) + 150u * qGreen(px) + 29u * qBlue(px) + 128u) >> 8;
}

// The rows the placement is measured with: the bottom fifth of the frame (24 rows below 120).
int bandRows(int height) {
    return height < 120 ? 24 : height / 5;
}

// At most this many of the shifts that fit by row means, best first, are checked pixel by pixel;
// a wrong one gives itself away within a few rows.
constexpr int kMaximumCandidates = 32;
// A pixel agrees with its counterpart when no channel differs by more than this: rendering noise
// stays within it, one glyph against another does not.
constexpr int kPixelTolerance = 24;
// A placement holds when at most this share (per mille) of the band's pixels disagree (a caret, a
// spinner). Rows of text that look alike in their means differ in far more of their pixels.
constexpr int kDisagreeingPerMille = 4;

// The shifts i at which the bottom band of `a` fits `b` when b's band starts i rows higher, best
// first (the smallest shift among equals), at most kMaximumCandidates of them; none fits when even
// the best is off by kMatchThreshold or more.
std::vector<int> candidateShifts(const std::vector<double>& a, const std::vector<double>& b) {
    const int h = static_cast<int>(a.size());
    const int band = bandRows(h);
    const int n = h - band;
    const double* reference = a.data() + n;
    std::vector<std::pair<double, int>> scored;
    for (int i = 0; i <= n; ++i) {
        const double* candidate = b.data() + (n - i);
        double sum = 0;
        for (int j = 0; j < band; ++j)
            sum += std::abs(reference[j] - candidate[j]);
        const double score = sum / band;
        if (score < kMatchThreshold) scored.emplace_back(score, i);
    }
    const auto keep =
        std::min<std::ptrdiff_t>(kMaximumCandidates, static_cast<std::ptrdiff_t>(scored.size()));
    std::partial_sort(scored.begin(), scored.begin() + keep, scored.end());
    std::vector<int> shifts;
    for (auto it = scored.begin(); it != scored.begin() + keep; ++it)
        shifts.push_back(it->second);
    return shifts;
}

bool pixelsAgree(QRgb p, QRgb q) {
    return std::abs(qRed(p) - qRed(q)) <= kPixelTolerance &&
           std::abs(qGreen(p) - qGreen(q)) <= kPixelTolerance &&
           std::abs(qBlue(p) - qBlue(q)) <= kPixelTolerance;
}

// Whether `next` shows the band of `previous` moved by `shift` rows (up for `down`, down for
// `up`). Only the band is compared: a bar that stays put at the other end of the region, as a page
// header does, must not spoil the match. Both images are of one size and of 32-bit formats.
bool bandHolds(const QImage& previous, const QImage& next, int shift, ScrollDirection direction) {
    const int w = previous.width();
    const int band = bandRows(previous.height());
    const int fromPrevious = direction == ScrollDirection::down ? previous.height() - band : 0;
    const int fromNext = direction == ScrollDirection::down ? fromPrevious - shift : shift;
    const qint64 allowed = static_cast<qint64>(w) * band * kDisagreeingPerMille / 1000;
    qint64 disagreeing = 0;
    for (int y = 0; y < band; ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(previous.constScanLine(fromPrevious + y));
        const auto* q = reinterpret_cast<const QRgb*>(next.constScanLine(fromNext + y));
        if (std::equal(p, p + w, q)) continue;
        for (int x = 0; x < w; ++x)
            if (!pixelsAgree(p[x], q[x]) && ++disagreeing > allowed) return false;
    }
    return true;
}

// Whether the previous frame's bottom band (the last `band` rows) is so even that any placement
// of it fits: a blank margin or a flat colour gives no shift to measure.
bool featurelessBand(const std::vector<double>& a) {
    const int band = bandRows(static_cast<int>(a.size()));
    const auto [low, high] = std::minmax_element(a.end() - band, a.end());
    return *high - *low < kMatchThreshold;
}

} // namespace

VerticalStitcher::VerticalStitcher(const QImage& firstFrame) {
    if (firstFrame.isNull()) return;
    m_slices.push_back(firstFrame);
    m_lastFrame = firstFrame;
    m_width = firstFrame.width();
    m_totalHeight = firstFrame.height();
}

QImage VerticalStitcher::comparable(const QImage& image) {
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32_Premultiplied)
        return image;
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

std::optional<std::vector<double>> VerticalStitcher::grayRows(const QImage& pixels) {
    if (pixels.isNull()) return std::nullopt;
    const int w = pixels.width();
    const int h = pixels.height();
    // Between 96 and 191 samples per row for any frame at least 96 pixels wide.
    const int step = std::max(1, w / std::min(w, 96));
    const int samples = (w + step - 1) / step;
    std::vector<double> rows(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        std::uint32_t sum = 0;
        for (int x = 0; x < w; x += step)
            sum += grayOf(line[x]);
        rows[static_cast<size_t>(y)] = static_cast<double>(sum) / samples;
    }
    return rows;
}

std::optional<int> VerticalStitcher::findOverlap(const QImage& previous, const QImage& next) {
    return findOverlap(previous, next, ScrollDirection::down);
}

std::optional<int> VerticalStitcher::findOverlap(const QImage& previous, const QImage& next,
                                                 ScrollDirection direction) {
    return measure(previous, next, direction).shift;
}

VerticalStitcher::Measure VerticalStitcher::measure(const QImage& previous, const QImage& next,
                                                    ScrollDirection direction) {
    if (previous.size() != next.size() || previous.height() <= kMinimumMatchHeight) return {};
    const QImage before = comparable(previous);
    const QImage after = comparable(next);
    auto a = grayRows(before);
    auto b = grayRows(after);
    if (!a || !b) return {};
    // Scrolling up moves the content down, which is scrolling down seen upside down: the previous
    // frame's top band is looked for in the next frame, and the shift counts new rows at the top.
    if (direction == ScrollDirection::up) {
        std::reverse(a->begin(), a->end());
        std::reverse(b->begin(), b->end());
    }
    // Row means only narrow the choice: text lines, table rows and repeated page furniture have
    // nearly the same means at many shifts, so the pixels decide.
    Measure measured{std::nullopt, featurelessBand(*a)};
    for (const int shift : candidateShifts(*a, *b)) {
        if (bandHolds(before, after, shift, direction)) {
            measured.shift = shift;
            break;
        }
    }
    return measured;
}

bool VerticalStitcher::append(const QImage& frame, ScrollDirection direction, Unmatched unmatched) {
    m_refusedUnmatched = false;
    if (frame.isNull() || frame.width() != m_width) return false;
    const Measure measured = measure(m_lastFrame, frame, direction);
    const std::optional<int> overlap = measured.shift;
    if (unmatched == Unmatched::refuse && frame.size() == m_lastFrame.size() &&
        frame.height() > kMinimumMatchHeight) {
        // A band with nothing in it fits the new frame anywhere; only an unchanged frame is sure.
        const bool unsure = !overlap || (measured.featureless && frame != m_lastFrame);
        if (unsure) {
            m_refusedUnmatched = true;
            return false;
        }
    }
    // A frame that matches nothing is taken whole; one that shows the same content adds nothing.
    if (overlap && *overlap <= 0) return false;
    appendSlice(frame, overlap ? *overlap : frame.height(), direction);
    m_lastFrame = frame;
    return true;
}

void VerticalStitcher::appendSlice(const QImage& frame, int newRows, ScrollDirection direction) {
    const int rows = std::min(newRows, frame.height());
    const QRect cut = direction == ScrollDirection::down ? QRect(0, frame.height() - rows, m_width, rows)
                                                         : QRect(0, 0, m_width, rows);
    const QImage slice = frame.copy(cut);
    if (slice.isNull()) return;
    if (direction == ScrollDirection::down)
        m_slices.push_back(slice);
    else
        m_slices.insert(m_slices.begin(), slice);
    m_totalHeight += rows;
}

std::optional<QImage> VerticalStitcher::compose() const {
    if (m_slices.empty()) return std::nullopt;
    long long height = 0;
    for (const QImage& slice : m_slices)
        height += slice.height();
    if (height <= 0 || height > std::numeric_limits<int>::max()) return std::nullopt;
    QImage out(m_width, static_cast<int>(height), QImage::Format_ARGB32_Premultiplied);
    if (out.isNull()) return std::nullopt;
    out.fill(Qt::transparent);
    QPainter painter;
    if (!painter.begin(&out)) return std::nullopt;
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    int top = 0;
    for (const QImage& slice : m_slices) {
        // Target rectangles in pixels, so a frame's device pixel ratio cannot rescale it.
        painter.drawImage(QRect(0, top, slice.width(), slice.height()), slice);
        top += slice.height();
    }
    painter.end();
    return out;
}
