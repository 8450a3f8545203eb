#pragma once

#include "save/ImageFileFormat.h"

#include <QByteArray>
#include <QImage>

#include <optional>

// The encoders and their settings.
namespace imageencoding {

// Qt's PNG writer maps quality q to zlib level (100 − q) × 9 / 91; this choice is the fastest
// level whose files stay within 15 % of the default's on screenshot-like images (flat areas and
// text), measured with bench/save.
inline constexpr int pngQuality = 80;
inline constexpr int jpegQuality = 90;

std::optional<QByteArray> encode(const QImage& image, ImageFileFormat format);

// Dots per metre that make an image of `scale` pixels per point show at its point size, a point
// being 1/96 inch as on the X11 desktop.
int dotsPerMetreForScale(double scale);

// A copy whose resolution (dots per metre) and device pixel ratio state `scale`.
QImage withPointSize(const QImage& image, double scale);

} // namespace imageencoding
