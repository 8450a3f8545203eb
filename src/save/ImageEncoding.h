#pragma once

#include "save/ImageFileFormat.h"

#include <QByteArray>
#include <QImage>

#include <optional>

// The encoders and their settings.
namespace imageencoding {

// PNG through pngwriter (faster than Qt's writer, see there); JPEG through Qt at quality 90.
inline constexpr int jpegQuality = 90;

std::optional<QByteArray> encode(const QImage& image, ImageFileFormat format);
// The same, stating `scale` pixels per point as withPointSize would, without copying the pixels
// where the format allows (PNG).
std::optional<QByteArray> encode(const QImage& image, ImageFileFormat format, double scale);

// Dots per metre that make an image of `scale` pixels per point show at its point size, a point
// being 1/96 inch as on the X11 desktop.
int dotsPerMetreForScale(double scale);

// The pixels per point an image's density states, read with the same 96-per-inch point: the
// inverse of dotsPerMetreForScale, rounded to 1/1000 because files keep whole dots per metre (PNG)
// or per inch (JPEG). An image that states no density (Qt's default stands) is at 1.
double scaleFromDensity(const QImage& image);

// A copy whose resolution (dots per metre) and device pixel ratio state `scale`.
QImage withPointSize(const QImage& image, double scale);

} // namespace imageencoding
