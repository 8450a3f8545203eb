// Text boxes and their upright drawing through the bottom-left flip.
#include "EditorTestSupport.h"

#include "editor/AnnotationRenderer.h"
#include "editor/AnnotationText.h"
#include "editor/TextAnnotation.h"

#include <QFile>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

using namespace editortest;

// Strongly red pixels: the text's own ink, not its grey shadow.
bool isInk(QRgb px) {
    return qRed(px) > 180 && qGreen(px) < 140 && qBlue(px) < 140;
}

struct Ink {
    QRect box;         // top-left image rows and columns
    QList<int> perRow; // ink pixels in each row of the box, top first
};

Ink inkOf(const QImage& image) {
    Ink ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isInk(image.pixel(x, y))) ink.box = ink.box.united(QRect(x, y, 1, 1));
    for (int y = ink.box.top(); y <= ink.box.bottom(); ++y) {
        int n = 0;
        for (int x = ink.box.left(); x <= ink.box.right(); ++x)
            n += isInk(image.pixel(x, y));
        ink.perRow << n;
    }
    return ink;
}

// A "T" carries its weight at the top: the bar holds much more ink than the same number of rows at
// the foot of the stem.
bool heavyAtTheTop(const Ink& ink) {
    const qsizetype quarter = ink.perRow.size() / 4;
    int top = 0, bottom = 0;
    for (qsizetype i = 0; i < quarter; ++i) {
        top += ink.perRow[i];
        bottom += ink.perRow[ink.perRow.size() - 1 - i];
    }
    return top > 2 * bottom;
}

TEST(TextDrawing, ComesOutUprightThroughTheFlip) {
    // The criterion first, on a "T" painted plainly in a top-down image.
    QImage plain = whiteBase(200, 200);
    {
        QPainter p(&plain);
        p.translate(40, 40);
        annotationtext::paint(p, QStringLiteral("T"), 80, Annotation::defaultColor());
    }
    const Ink plainInk = inkOf(plain);
    ASSERT_GT(plainInk.perRow.size(), 40);
    ASSERT_TRUE(heavyAtTheTop(plainInk));

    auto text = std::make_shared<TextAnnotation>(1.0);
    text->text = QStringLiteral("T");
    text->fontSizePt = 80;
    text->origin = {40, 40};
    const Ink drawn = inkOf(AnnotationRenderer::render(whiteBase(200, 200), {text}));
    EXPECT_TRUE(heavyAtTheTop(drawn));
    EXPECT_EQ(drawn.perRow.size(), plainInk.perRow.size());
    EXPECT_EQ(drawn.box.width(), plainInk.box.width());
}

TEST(TextDrawing, StaysInsideItsBoxAtTheOrigin) {
    for (double scale : {1.0, 2.0}) {
        auto text = std::make_shared<TextAnnotation>(scale);
        text->text = QStringLiteral("Hello, Wj");
        text->origin = {30 * scale, 50 * scale};
        const int side = static_cast<int>(300 * scale);
        const QImage image = AnnotationRenderer::render(whiteBase(side, side), {text});
        const Ink ink = inkOf(image);
        ASSERT_FALSE(ink.box.isEmpty());
        // The box in top-left rows: its bottom edge is the origin's row.
        const QRectF b = text->bounds();
        const QRectF boxTopLeft(b.x(), side - b.y() - b.height(), b.width(), b.height());
        EXPECT_TRUE(boxTopLeft.adjusted(-2, -2, 2, 2).contains(QRectF(ink.box)))
            << "scale " << scale << ": ink " << ink.box.x() << "," << ink.box.y() << " " << ink.box.width()
            << "×" << ink.box.height() << " outside the box";
        // The ink fills most of the box's width: it was not drawn somewhere else.
        EXPECT_GT(ink.box.width(), 0.8 * b.width());
    }
}

TEST(TextDrawing, CastsASoftShadowDownwards) {
    auto text = std::make_shared<TextAnnotation>(2.0);
    text->text = QStringLiteral("IIII");
    text->color = QColor(255, 59, 48);
    text->origin = {20, 60};
    const QImage image = AnnotationRenderer::render(whiteBase(300, 200), {text});
    const Ink ink = inkOf(image);
    ASSERT_FALSE(ink.box.isEmpty());
    int below = 0, above = 0;
    for (int x = ink.box.left(); x <= ink.box.right(); ++x) {
        below += darkness(QColor(image.pixel(x, ink.box.bottom() + 2)));
        above += darkness(QColor(image.pixel(x, ink.box.top() - 2)));
    }
    EXPECT_GT(below, 2 * above) << "below " << below << ", above " << above;
    // No background box: well away from the glyphs the base shows through.
    EXPECT_TRUE(isWhite(QColor(image.pixel(ink.box.left() - 12, ink.box.center().y()))));
}

TEST(TextDrawing, EmptyTextDrawsNothingButHasATenPixelBox) {
    auto text = std::make_shared<TextAnnotation>(2.0);
    text->origin = {20, 30};
    EXPECT_EQ(text->textSize(), QSizeF(10, 10));
    EXPECT_EQ(text->bounds(), QRectF(20, 30, 10, 10));
    EXPECT_EQ(differingPixels(AnnotationRenderer::render(whiteBase(100, 100), {text}), whiteBase(100, 100)),
              0);
}

TEST(TextMeasure, ScalesWithFractionalPixelSizes) {
    const QString sample = QStringLiteral("Step 12: check");
    const QSizeF at15 = annotationtext::measure(sample, 15);
    const QSizeF at14_7 = annotationtext::measure(sample, 14.7);
    const QSizeF at29_4 = annotationtext::measure(sample, 29.4);
    EXPECT_NEAR(at14_7.width() / at15.width(), 14.7 / 15, 0.01);
    EXPECT_LT(at14_7.width(), at15.width());
    EXPECT_NEAR(at29_4.width(), 2 * at14_7.width(), 0.02 * at29_4.width());
    EXPECT_NEAR(at29_4.height(), 2 * at14_7.height(), 0.02 * at29_4.height());

    TextAnnotation one(1.0), two(2.0);
    one.text = two.text = sample;
    EXPECT_NEAR(two.textSize().width(), 2 * one.textSize().width(), 0.02 * two.textSize().width());
    EXPECT_GT(one.textSize().width(), 50);
}

TEST(TextMeasure, StacksLines) {
    const QSizeF one = annotationtext::measure(QStringLiteral("line"), 20);
    const QSizeF two = annotationtext::measure(QStringLiteral("line\na much longer line"), 20);
    EXPECT_GT(two.height(), 1.8 * one.height());
    EXPECT_GT(two.width(), 2 * one.width());
    EXPECT_EQ(annotationtext::measure(QString(), 20), QSizeF(0, 0));
}

TEST(TextMeasure, UsesTheInstalledBoldFace) {
    if (!QFile::exists(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf")))
        GTEST_SKIP() << "fonts-dejavu-core is not installed";
    EXPECT_EQ(annotationtext::family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(annotationtext::boldFont(18).font.weight(), QFont::Bold);
}

} // namespace
