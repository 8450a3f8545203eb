#include "EditorTestSupport.h"

#include "editor/AnnotationRenderer.h"
#include "editor/Annotations.h"

#include <QHash>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace editortest;

// Red follows the column and green the row, so no two neighbouring cells share an average.
QImage ramp(int width, int height, QImage::Format format = QImage::Format_RGB32) {
    QImage image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 3) % 256, (y * 3) % 256, 90));
    return image;
}

// Cell index of a pixel along each axis, counted from the bottom-left corner.
QPoint cellOf(int x, int row, int height, double cell) {
    return QPoint(static_cast<int>(std::floor((x + 0.5) / cell)),
                  static_cast<int>(std::floor((height - row - 0.5) / cell)));
}

class Pixellate : public testing::TestWithParam<std::tuple<double, double>> {};

// Every pixel of a cell has one colour and neighbouring cells differ, with cells counted from the
// bottom-left corner; the odd sizes leave partial cells at the right and at the top.
TEST_P(Pixellate, FillsSquareCellsAlignedToTheBottomLeftCorner) {
    const auto [scale, cell] = GetParam();
    EXPECT_DOUBLE_EQ(AnnotationRenderer::cellSize(scale), cell);
    const QImage image = ramp(83, 61);
    const auto out = AnnotationRenderer::pixellate(image, scale);
    ASSERT_TRUE(out);
    ASSERT_EQ(out->size(), image.size());
    QHash<QPair<int, int>, QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QPoint c = cellOf(x, y, image.height(), cell);
            const auto key = qMakePair(c.x(), c.y());
            const QRgb px = out->pixel(x, y);
            if (!colours.contains(key)) colours.insert(key, px);
            ASSERT_EQ(px, colours.value(key))
                << "pixel (" << x << ", " << y << ") in cell " << c.x() << "," << c.y();
        }
    for (auto it = colours.cbegin(); it != colours.cend(); ++it) {
        const auto right = qMakePair(it.key().first + 1, it.key().second);
        const auto up = qMakePair(it.key().first, it.key().second + 1);
        if (colours.contains(right)) {
            EXPECT_NE(it.value(), colours.value(right));
        }
        if (colours.contains(up)) {
            EXPECT_NE(it.value(), colours.value(up));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, Pixellate,
                         testing::Values(std::make_tuple(1.0, 8.0), std::make_tuple(2.0, 16.0),
                                         std::make_tuple(0.5, 8.0), std::make_tuple(1.5, 12.0),
                                         std::make_tuple(1.25, 10.0)));

TEST(PixellateColour, IsTheAverageOfTheCell) {
    // A one-pixel checkerboard of black and white averages to mid grey in every full cell.
    QImage board(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            board.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const auto out = AnnotationRenderer::pixellate(board, 1.0);
    ASSERT_TRUE(out);
    for (int y = 0; y < 32; y += 5)
        for (int x = 0; x < 32; x += 5)
            EXPECT_EQ(QColor(out->pixel(x, y)), QColor(128, 128, 128));

    // Transparency averages too: half of each cell transparent gives half the cell's alpha.
    QImage half(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            half.setPixel(x, y, x % 2 ? qRgba(0, 0, 255, 255) : qRgba(0, 0, 0, 0));
    const auto faded = AnnotationRenderer::pixellate(half, 1.0);
    ASSERT_TRUE(faded);
    EXPECT_EQ(faded->format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(faded->pixel(3, 3), qRgba(0, 0, 128, 128));
}

TEST(PixellateInput, NullImagesGiveNothingAndThePixelRatioIsKept) {
    EXPECT_FALSE(AnnotationRenderer::pixellate(QImage(), 2.0));
    QImage image = ramp(40, 40);
    image.setDevicePixelRatio(2.0);
    const auto out = AnnotationRenderer::pixellate(image, 2.0);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->size(), QSize(40, 40));
    EXPECT_EQ(out->devicePixelRatio(), 2.0);
}

TEST(Render, MakesANewImageOfTheBasesExactSize) {
    for (QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB888}) {
        const QImage base = ramp(123, 77, format);
        const QImage flat = AnnotationRenderer::render(base, {});
        EXPECT_EQ(flat.size(), base.size());
        EXPECT_EQ(flat.format(), QImage::Format_ARGB32_Premultiplied);
        EXPECT_NE(flat.constBits(), base.constBits());
        EXPECT_EQ(differingPixels(flat, base), 0);
    }
}

TEST(Render, KeepsTranslucentBasePixels) {
    QImage base(20, 20, QImage::Format_ARGB32);
    base.fill(qRgba(200, 100, 50, 128));
    const QImage flat = AnnotationRenderer::render(base, {});
    EXPECT_EQ(flat.pixel(5, 5), base.convertToFormat(QImage::Format_ARGB32_Premultiplied).pixel(5, 5));
}

TEST(Render, DrawsInPixelsWhateverTheBasesPixelRatio) {
    QImage base = whiteBase(200, 200);
    base.setDevicePixelRatio(2.0);
    auto line = std::make_shared<ShapeAnnotation>(ShapeAnnotation::Kind::line, QPointF(20, 150),
                                                  QPointF(180, 150), 2.0);
    const QImage flat = AnnotationRenderer::render(base, {line});
    EXPECT_EQ(flat.size(), QSize(200, 200));
    EXPECT_EQ(flat.devicePixelRatio(), 2.0);
    EXPECT_TRUE(isRed(pixelAt(flat, 100, 150)));
    EXPECT_TRUE(isWhite(pixelAt(flat, 100, 75))) << "not drawn at half the coordinates";
}

TEST(Render, ReturnsTheNullBaseAsItIs) {
    auto line =
        std::make_shared<ShapeAnnotation>(ShapeAnnotation::Kind::line, QPointF(0, 0), QPointF(5, 5), 1.0);
    EXPECT_TRUE(AnnotationRenderer::render(QImage(), {line, nullptr}).isNull());
}

TEST(Render, EveryKindTogetherChangesTheBase) {
    const QImage base = whiteBase(400, 300);
    const auto cells = AnnotationRenderer::pixellate(ramp(400, 300), 1.0);
    AnnotationList list;
    using K = ShapeAnnotation::Kind;
    for (K k : {K::arrow, K::rect, K::oval, K::highlight})
        list.push_back(std::make_shared<ShapeAnnotation>(k, QPointF(20 + 90 * int(k), 20),
                                                         QPointF(90 + 90 * int(k), 80), 1.0));
    auto pen = std::make_shared<PenAnnotation>(1.0);
    pen->points = {{20, 150}, {60, 180}, {100, 150}};
    auto text = std::make_shared<TextAnnotation>(1.0);
    text->text = QStringLiteral("Note");
    text->origin = {150, 150};
    auto one = std::make_shared<CounterAnnotation>(1.0);
    one->center = {280, 170};
    auto two = std::make_shared<CounterAnnotation>(1.0);
    two->center = {320, 170};
    two->number = 2;
    auto blur = std::make_shared<BlurAnnotation>(1.0);
    blur->rect = QRectF(20, 220, 200, 60);
    list.insert(list.end(), {pen, text, one, two, blur});
    const QImage flat = AnnotationRenderer::render(base, list, cells);
    EXPECT_EQ(flat.size(), base.size());
    // Each annotation alone changes pixels, and all of them change more than any one.
    int most = 0;
    for (const auto& a : list) {
        const int changed = differingPixels(AnnotationRenderer::render(base, {a}, cells), base);
        EXPECT_GT(changed, 50);
        most = std::max(most, changed);
    }
    EXPECT_GT(differingPixels(flat, base), most);
}

} // namespace
