#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

// The general clipboard. Writes add to what the last `clear` started, in the order made.
// Called on the main thread.
class Pasteboard {
  public:
    virtual ~Pasteboard() = default;

    // Empties the clipboard and takes ownership of it.
    virtual void clear() = 0;
    // Adds encoded PNG bytes under the PNG type.
    virtual void setPngData(const QByteArray& png) = 0;
    // Adds an image object. Its dots-per-metre and device pixel ratio tell its size in points.
    // When PNG bytes of the same image are on the clipboard, readers of the image are served
    // those bytes: the image is never encoded again per request.
    virtual void writeImage(const QImage& image) = 0;
    // Adds plain text.
    virtual void setText(const QString& text) = 0;

    // The clipboard's image, from whichever application owns it; none when it holds no image.
    virtual std::optional<QImage> readImage() const = 0;
    // The clipboard's plain text; none when it holds no text.
    virtual std::optional<QString> readText() const = 0;
};
