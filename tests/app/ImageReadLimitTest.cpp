#include "app/ImageReadLimit.h"
#include "save/PngWriter.h"

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Pictro opens its own tall captures again: past Qt's default limit of 128 MB of pixels, the
// reader refused them without a word.
TEST(ImageReadLimit, OpensTallCaptures) {
    imagereadlimit::install();
    QTemporaryDir dir;
    QImage tall(2000, 17500, QImage::Format_RGB32); // 140 MB of pixels
    tall.fill(QColor(250, 250, 250));
    tall.setPixel(1999, 17499, qRgb(200, 0, 0));
    const QString path = dir.filePath(QStringLiteral("tall.png"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pngwriter::encode(tall).value_or(QByteArray()));
    file.close();
    QImageReader reader(path);
    const QImage back = reader.read();
    ASSERT_FALSE(back.isNull()) << qPrintable(reader.errorString());
    EXPECT_EQ(back.pixel(1999, 17499), qRgb(200, 0, 0));
}

} // namespace
