#include "capture/SoftShadow.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace softshadow {
namespace {

// Widths of three box filters whose succession approximates a Gaussian of the given sigma.
std::array<int, 3> boxWidths(double sigma) {
    const double ideal = std::sqrt(12.0 * sigma * sigma / 3.0 + 1.0);
    int lower = static_cast<int>(std::floor(ideal));
    if (lower % 2 == 0) --lower;
    const int upper = lower + 2;
    const double m =
        std::round((12.0 * sigma * sigma - 3.0 * lower * lower - 12.0 * lower - 9.0) / (-4.0 * lower - 4.0));
    std::array<int, 3> widths{};
    for (int i = 0; i < 3; ++i)
        widths[i] = i < m ? lower : upper;
    return widths;
}

// One running-sum box pass of half-width r along a line of n samples, read `step` bytes apart
// into a contiguous output of n bytes.
void boxLine(const uchar* in, uchar* out, int n, int step, int r) {
    if (r <= 0) {
        for (int i = 0; i < n; ++i)
            out[i] = in[i * step];
        return;
    }
    const int window = 2 * r + 1;
    int sum = 0;
    // Outside the line the alpha is 0, so the sum starts with the first r + 1 samples only.
    for (int i = 0; i <= r && i < n; ++i)
        sum += in[i * step];
    for (int i = 0; i < n; ++i) {
        out[i] = static_cast<uchar>((sum + window / 2) / window);
        const int add = i + r + 1;
        const int sub = i - r;
        if (add < n) sum += in[add * step];
        if (sub >= 0) sum -= in[sub * step];
    }
}

} // namespace

void blurAlpha(uchar* data, int width, int height, int stride, double blurRadius) {
    if (blurRadius <= 0.0 || width <= 0 || height <= 0) return;
    const auto widths = boxWidths(blurRadius / 2.0);
    std::vector<uchar> line(static_cast<size_t>(std::max(width, height)));
    for (int w : widths) {
        const int r = (w - 1) / 2;
        for (int y = 0; y < height; ++y) {
            uchar* row = data + static_cast<ptrdiff_t>(y) * stride;
            boxLine(row, line.data(), width, 1, r);
            std::copy(line.begin(), line.begin() + width, row);
        }
        for (int x = 0; x < width; ++x) {
            uchar* column = data + x;
            boxLine(column, line.data(), height, stride, r);
            for (int y = 0; y < height; ++y)
                column[static_cast<ptrdiff_t>(y) * stride] = line[static_cast<size_t>(y)];
        }
    }
}

Shadow make(const QImage& source, double blurRadius, const QColor& color) {
    Shadow shadow;
    if (source.isNull()) return shadow;
    // Three box passes of the widths above spread a little under 1.5 sigma each side; 2 sigma
    // (= the radius) leaves nothing visible cut off.
    shadow.margin = static_cast<int>(std::ceil(std::max(0.0, blurRadius)));
    const int w = source.width() + 2 * shadow.margin;
    const int h = source.height() + 2 * shadow.margin;

    QImage alpha(w, h, QImage::Format_Alpha8);
    if (alpha.isNull()) return {};
    alpha.fill(0);
    {
        QPainter p(&alpha);
        p.drawImage(shadow.margin, shadow.margin, source);
    }
    blurAlpha(alpha.bits(), w, h, static_cast<int>(alpha.bytesPerLine()), blurRadius);

    shadow.image = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
    if (shadow.image.isNull()) return {};
    const int cr = color.red(), cg = color.green(), cb = color.blue(), ca = color.alpha();
    for (int y = 0; y < h; ++y) {
        const uchar* a = alpha.constScanLine(y);
        auto* out = reinterpret_cast<QRgb*>(shadow.image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int alphaValue = (a[x] * ca + 127) / 255;
            out[x] = qRgba((cr * alphaValue + 127) / 255, (cg * alphaValue + 127) / 255,
                           (cb * alphaValue + 127) / 255, alphaValue);
        }
    }
    return shadow;
}

void paintWithShadow(QPainter& painter, const QImage& source, const QPointF& topLeft, const QPointF& offset,
                     double blurRadius, const QColor& color) {
    const Shadow shadow = make(source, blurRadius, color);
    if (!shadow.image.isNull())
        painter.drawImage(topLeft + offset - QPointF(shadow.margin, shadow.margin), shadow.image);
    painter.drawImage(topLeft, source);
}

} // namespace softshadow
