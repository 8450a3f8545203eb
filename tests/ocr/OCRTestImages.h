#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QStringList>

namespace ocrtest {

inline QFont dejaVu(int pixelSize, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// Black lines of text on white (or on `paper`), one below the other, starting at `origin`.
inline QImage textImage(QSize size, const QStringList& lines, const QFont& font, QPoint origin = {40, 40},
                        QColor paper = Qt::white, QImage::Format format = QImage::Format_RGB32) {
    QImage image(size, format);
    image.fill(paper);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int step = QFontMetrics(font).lineSpacing() * 3 / 2;
    for (int i = 0; i < lines.size(); ++i)
        painter.drawText(origin + QPoint(0, QFontMetrics(font).ascent() + i * step), lines[i]);
    return image;
}

// Puts `piece` into `image` with its top-left at `at`.
inline QImage with(QImage image, const QImage& piece, QPoint at) {
    QPainter painter(&image);
    painter.drawImage(at, piece);
    return image;
}

} // namespace ocrtest

#include <ostream>

// Readable failure messages for QString comparisons.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
