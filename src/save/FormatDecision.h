#pragma once

#include "save/ImageFileFormat.h"
#include "settings/SettingsEnums.h"

#include <QByteArray>
#include <QImage>

#include <optional>

// PNG or JPEG for an image, judged from two tiny stretched samples so the cost is the same for
// any image size: real transparency keeps PNG, many distinct colours (a photo) choose JPEG.
namespace formatdecision {

inline constexpr int alphaSampleSide = 32;
inline constexpr uchar opaqueEnough = 250; // a sampled alpha below this is real transparency
inline constexpr int colourSampleSide = 64;
inline constexpr int photoColourKeys = 1100; // more distinct 12-bit colours than this: a photo

ImageFileFormat decide(const QImage& image, SaveFormat setting);

// The image stretched to side × side: bytes R, G, B, A (premultiplied), rows packed, sRGB.
std::optional<QByteArray> downsample(const QImage& image, int side);

// Distinct colours of the 64 × 64 sample, each channel cut to its top four bits; none when the
// sample cannot be made.
std::optional<int> distinctColourKeys(const QImage& image);

bool isPhotoLike(const QImage& image);

} // namespace formatdecision
