#pragma once

#include <QImage>

namespace ocrimage {

// The text engine's coordinates are 16-bit: a longer side is scaled down to this before reading.
inline constexpr int kMaxSide = 32000;

// The image as both readers take it: 8-bit grey over white paper (transparent pixels read as
// background, not as ink), no side longer than kMaxSide.
QImage prepared(const QImage& image);

} // namespace ocrimage
