#include "editor/AnnotationRenderer.h"

#include "editor/BottomLeftPainter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace AnnotationRenderer {
namespace {

// Pixels 0 … count−1 along one axis, split into runs that share a cell. `fromEnd` counts cells from
// the far end of the axis (image rows run top-down, cells are aligned to the bottom). A pixel
// belongs to the cell its centre lies in, which also places cells of a fractional side exactly.
struct Run {
    int begin;
    int end;
};
std::vector<Run> cellRuns(int count, double cell, bool fromEnd) {
    std::vector<Run> runs;
    long previous = -1;
    for (int i = 0; i < count; ++i) {
        const double centre = fromEnd ? count - i - 0.5 : i + 0.5;
        const long index = static_cast<long>(std::floor(centre / cell));
        if (runs.empty() || index != previous)
            runs.push_back({i, i + 1});
        else
            runs.back().end = i + 1;
        previous = index;
    }
    return runs;
}

// Premultiplied ARGB32 pixels can be averaged channel by channel; RGB32 is the same layout with an
// opaque alpha byte, so both are read as they are.
QImage readablePixels(const QImage& image) {
    if (image.format() == QImage::Format_ARGB32_Premultiplied || image.format() == QImage::Format_RGB32)
        return image;
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

double cellSize(double scale) {
    return std::max(8.0 * scale, 8.0);
}

std::optional<QImage> pixellate(const QImage& image, double scale) {
    if (image.isNull() || !std::isfinite(scale)) return std::nullopt;
    const QImage source = readablePixels(image);
    QImage out(image.size(), QImage::Format_ARGB32_Premultiplied);
    if (source.isNull() || out.isNull()) return std::nullopt;
    out.setDevicePixelRatio(image.devicePixelRatio());

    const double cell = cellSize(scale);
    const std::vector<Run> columns = cellRuns(image.width(), cell, false);
    const std::vector<Run> rows = cellRuns(image.height(), cell, true);
    std::vector<std::uint64_t> sums(columns.size() * 4);
    std::vector<QRgb> colours(columns.size());

    // One band of cells at a time: sum each cell's channels over the band's rows, then fill them.
    for (const Run& band : rows) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int y = band.begin; y < band.end; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
            for (size_t c = 0; c < columns.size(); ++c) {
                std::uint32_t a = 0, r = 0, g = 0, b = 0;
                for (int x = columns[c].begin; x < columns[c].end; ++x) {
                    const QRgb px = line[x];
                    a += qAlpha(px);
                    r += qRed(px);
                    g += qGreen(px);
                    b += qBlue(px);
                }
                sums[c * 4 + 0] += a;
                sums[c * 4 + 1] += r;
                sums[c * 4 + 2] += g;
                sums[c * 4 + 3] += b;
            }
        }
        const auto bandRows = static_cast<std::uint64_t>(band.end - band.begin);
        for (size_t c = 0; c < columns.size(); ++c) {
            const std::uint64_t n = bandRows * static_cast<std::uint64_t>(columns[c].end - columns[c].begin);
            const auto mean = [&](int channel) {
                return static_cast<int>((sums[c * 4 + channel] + n / 2) / n);
            };
            colours[c] = qRgba(mean(1), mean(2), mean(3), mean(0));
        }
        for (int y = band.begin; y < band.end; ++y) {
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (size_t c = 0; c < columns.size(); ++c)
                std::fill(line + columns[c].begin, line + columns[c].end, colours[c]);
        }
    }
    return out;
}

QImage render(const QImage& base, const AnnotationList& annotations,
              const std::optional<QImage>& pixellated) {
    if (base.isNull()) return base;
    // Drawing an image over a cleared canvas leaves exactly its premultiplied pixels, so the
    // canvas starts as a converted copy of the base.
    QImage canvas = base.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull()) return base;
    if (canvas.constBits() == base.constBits()) canvas = base.copy();
    if (canvas.isNull()) return base;
    // Annotations are in pixels; a device pixel ratio would make the painter work in points.
    canvas.setDevicePixelRatio(1.0);
    {
        QPainter painter;
        if (!painter.begin(&canvas)) return base;
        bottomleft::begin(painter, canvas.height());
        const QImage* cells = pixellated && !pixellated->isNull() ? &*pixellated : nullptr;
        for (const auto& annotation : annotations)
            if (annotation) annotation->draw(painter, cells);
    }
    canvas.setDevicePixelRatio(base.devicePixelRatio());
    return canvas;
}

} // namespace AnnotationRenderer
