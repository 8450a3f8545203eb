#include "app/CaptureHistory.h"
#include "support/TestSupport.h"

#include <QColorSpace>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage screenLike(QImage::Format format) {
    QImage image(1000, 700, format);
    image.fill(QColor(250, 250, 250, 255));
    QPainter painter(&image);
    painter.fillRect(QRect(0, 0, 1000, 40), QColor(30, 60, 90, 200));
    painter.drawText(QRect(20, 60, 900, 600), Qt::TextWordWrap, QString(400, QLatin1Char('w')));
    painter.end();
    image.setDotsPerMeterX(7874);
    image.setDotsPerMeterY(7874);
    image.setColorSpace(QColorSpace::SRgb);
    return image;
}

} // namespace

// The last capture is given up as pixels once idle, kept deflated, and comes back exactly; so does
// an opened palette image, whose pixels mean nothing without their colour table.
TEST(CaptureHistory, IdleLastCaptureIsReleasedAndComesBackUnchanged) {
    for (const QImage& image :
         {screenLike(QImage::Format_RGB32), screenLike(QImage::Format_ARGB32_Premultiplied),
          screenLike(QImage::Format_RGB32).convertToFormat(QImage::Format_Indexed8)}) {
        const QImage::Format format = image.format();
        CaptureHistory history(50);
        history.record(CapturedImage{image, 2.0});
        EXPECT_FALSE(image.isDetached()); // shared with the history while fresh
        ASSERT_TRUE(testsupport::waitUntil([&] { return image.isDetached(); }, 10000));
        const auto back = history.last();
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->scale, 2.0);
        EXPECT_EQ(back->image.format(), format);
        EXPECT_EQ(back->image, image);
        EXPECT_EQ(back->image.colorTable(), image.colorTable());
        EXPECT_EQ(back->image.dotsPerMeterX(), 7874);
        EXPECT_EQ(back->image.colorSpace(), QColorSpace(QColorSpace::SRgb));
    }
}

// A newer capture replaces the last one, also while the older one is being compacted.
TEST(CaptureHistory, NewerCaptureWins) {
    CaptureHistory history(0);
    history.record(CapturedImage{screenLike(QImage::Format_RGB32), 1.0});
    const QImage newer = screenLike(QImage::Format_ARGB32_Premultiplied);
    history.record(CapturedImage{newer, 1.0});
    testsupport::waitUntil([] { return false; }, 300);
    EXPECT_EQ(history.last()->image, newer);
}
