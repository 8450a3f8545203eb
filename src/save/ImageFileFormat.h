#pragma once

#include <QString>

// The encoded file type of a saved image.
enum class ImageFileFormat { png, jpeg };

inline QString fileExtension(ImageFileFormat f) {
    return f == ImageFileFormat::png ? QStringLiteral("png") : QStringLiteral("jpg");
}
