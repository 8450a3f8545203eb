#pragma once

#include <QByteArray>
#include <QColorSpace>
#include <QImage>
#include <QMap>

// An image kept deflated: a screen capture is mostly flat colour and text, so its pixels take a
// small part of their size until the image is wanted again. Lossless: the image comes back with
// the same format, pixels, colour table, density and text.
class CompactImage {
  public:
    // Deflates the image; slow for a large one (run it off the main thread).
    static CompactImage from(const QImage& image);
    // The image back; null if the bytes were damaged.
    QImage image() const;
    qsizetype byteSize() const { return m_deflated.size(); }

  private:
    QByteArray m_deflated;
    QSize m_size;
    qsizetype m_bytesPerLine = 0;
    QImage::Format m_format = QImage::Format_Invalid;
    int m_dotsPerMeterX = 0;
    int m_dotsPerMeterY = 0;
    qreal m_devicePixelRatio = 1.0;
    QColorSpace m_colorSpace;
    QList<QRgb> m_colorTable; // what the pixels of an indexed image (an opened GIF or palette PNG) mean
    QMap<QString, QString> m_text;
};
