#include "scrolling/VerticalStitcher.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Below this mean difference of row means (grey levels) a placement counts as a match.
constexpr double kMatchThreshold = 6.0;
// Frames this high or lower are too short to hold a trustworthy band.
constexpr int kMinimumMatchHeight = 40;

// Grey level of a premultiplied pixel, i.e. the pixel composited over black.
inline unsigned grayOf(QRgb px) { return (77u * qRed(px) + 150u * qGreen(px) + 29u * qBlue(px) + 128u) >> 8; }

// The shift i at which the bottom band of `a` best fits `b` when b's band starts i rows higher,
// or none when even the best fit is off by kMatchThreshold or more.
std::optional<int> bestShift(const std::vector<double>& a, const std::vector<double>& b) {
    const int h = static_cast<int>(a.size());
    const int band = h < 120 ? 24 : h / 5;
    const int n = h - band;
    const double* reference = a.data() + n;
    double bestScore = std::numeric_limits<double>::infinity();
    int best = 0;
    for (int i = 0; i <= n; ++i) {
        const double* candidate = b.data() + (n - i);
        double sum = 0;
        for (int j = 0; j < band; ++j) sum += std::abs(reference[j] - candidate[j]);
        const double score = sum / band;
        // Only a strictly better score wins, so among equals the smallest shift stays.
        if (score < bestScore) {
            bestScore = score;
            best = i;
        }
    }
    if (bestScore < kMatchThreshold) return best;
    return std::nullopt;
}

// Whether the previous frame's bottom band (the last `band` rows) is so even that any placement
// of it fits: a blank margin or a flat colour gives no shift to measure.
bool featurelessBand(const std::vector<double>& a) {
    const int h = static_cast<int>(a.size());
    const int band = h < 120 ? 24 : h / 5;
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

std::optional<std::vector<double>> VerticalStitcher::grayRows(const QImage& image) {
    if (image.isNull()) return std::nullopt;
    QImage pixels = image;
    if (pixels.format() != QImage::Format_RGB32 && pixels.format() != QImage::Format_ARGB32_Premultiplied)
        pixels = pixels.convertToFormat(QImage::Format_ARGB32_Premultiplied);
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
        for (int x = 0; x < w; x += step) sum += grayOf(line[x]);
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
    auto a = grayRows(previous);
    auto b = grayRows(next);
    if (!a || !b) return {};
    // Scrolling up moves the content down, which is scrolling down seen upside down: the previous
    // frame's top band is looked for in the next frame, and the shift counts new rows at the top.
    if (direction == ScrollDirection::up) {
        std::reverse(a->begin(), a->end());
        std::reverse(b->begin(), b->end());
    }
    return {bestShift(*a, *b), featurelessBand(*a)};
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
    if (direction == ScrollDirection::down) m_slices.push_back(slice);
    else m_slices.insert(m_slices.begin(), slice);
    m_totalHeight += rows;
}

std::optional<QImage> VerticalStitcher::compose() const {
    if (m_slices.empty()) return std::nullopt;
    long long height = 0;
    for (const QImage& slice : m_slices) height += slice.height();
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
