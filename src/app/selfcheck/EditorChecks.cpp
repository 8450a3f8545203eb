#include "app/selfcheck/SelfChecks.h"

#include "editor/AnnotationRenderer.h"
#include "editor/Annotations.h"

#include <QLinearGradient>
#include <QPainter>

namespace selfchecks {
namespace {

QString sizeText(const QSize& s) {
    return QStringLiteral("%1 × %2").arg(s.width()).arg(s.height());
}

// A busy picture: a gradient under a grid of coloured squares, so every annotation has something
// to cover and the pixellation something to average.
QImage sampleBase(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, QColor(40, 90, 160));
    gradient.setColorAt(1, QColor(230, 230, 210));
    p.fillRect(image.rect(), gradient);
    for (int y = 0; y < height; y += 40)
        for (int x = (y / 40 % 2) * 40; x < width; x += 80)
            p.fillRect(x, y, 40, 40, QColor::fromHsv((x + y) % 360, 160, 230));
    // Lines of text, so that a person looking at the output sees what the pixellation hides.
    QFont font;
    font.setPixelSize(height / 25);
    p.setFont(font);
    p.setPen(Qt::black);
    for (int line = 1; line < 8; ++line)
        p.drawText(QPointF(width / 40.0, height * (0.3 + line * 0.07)),
                   QStringLiteral("Account 4921 0000 1234 — pin 0815     Account 4921 0000 1234 — pin 0815"));
    return image;
}

// Every kind of annotation, spread over a base of at least 800 × 500 pixels at the given scale.
AnnotationList everyKind(double scale) {
    const auto s = [scale](double x, double y) { return QPointF(x * scale, y * scale); };
    AnnotationList list;
    list.push_back(
        std::make_shared<ShapeAnnotation>(ShapeAnnotation::Kind::arrow, s(40, 40), s(220, 160), scale));
    list.push_back(
        std::make_shared<ShapeAnnotation>(ShapeAnnotation::Kind::rect, s(260, 40), s(380, 140), scale));
    list.push_back(
        std::make_shared<ShapeAnnotation>(ShapeAnnotation::Kind::oval, s(420, 40), s(560, 140), scale));
    auto highlight =
        std::make_shared<ShapeAnnotation>(ShapeAnnotation::Kind::highlight, s(600, 40), s(760, 90), scale);
    highlight->color = QColor(255, 204, 0);
    list.push_back(highlight);
    auto pen = std::make_shared<PenAnnotation>(scale);
    for (int i = 0; i <= 20; ++i)
        pen->points << s(40 + i * 9, 260 + ((i % 4) < 2 ? 20 : -20));
    list.push_back(pen);
    auto text = std::make_shared<TextAnnotation>(scale);
    text->text = QStringLiteral("Upright text");
    text->origin = s(260, 240);
    list.push_back(text);
    for (int n = 1; n <= 2; ++n) {
        auto counter = std::make_shared<CounterAnnotation>(scale);
        counter->center = s(480 + n * 50, 270);
        counter->number = n;
        list.push_back(counter);
    }
    auto blur = std::make_shared<BlurAnnotation>(scale);
    blur->rect = QRectF(s(600, 200), s(760, 330));
    list.push_back(blur);
    return list;
}

std::optional<QString> checkPixellate(const QDir& out) {
    // Red follows x and green follows y, so neighbouring cells never share an average.
    QImage ramp(800, 500, QImage::Format_RGB32);
    for (int y = 0; y < ramp.height(); ++y)
        for (int x = 0; x < ramp.width(); ++x)
            ramp.setPixel(x, y, qRgb(x % 256, y % 256, 128));
    const auto cells = AnnotationRenderer::pixellate(ramp, 2.0);
    if (!cells) return QStringLiteral("pixellation failed");
    if (cells->size() != ramp.size())
        return mismatch("pixellated size", sizeText(ramp.size()), sizeText(cells->size()));
    // 500 rows leave a partial cell of 500 mod 16 = 4 rows at the top; full cells start below it.
    if (cells->pixel(0, 4) != cells->pixel(15, 19) || cells->pixel(15, 19) == cells->pixel(16, 19) ||
        cells->pixel(0, 3) == cells->pixel(0, 4))
        return QStringLiteral("cells are not 16-pixel squares aligned to the bottom-left corner");
    const auto picture = AnnotationRenderer::pixellate(sampleBase(800, 500), 2.0);
    if (!picture || !picture->save(out.filePath(QStringLiteral("pixellated.png"))))
        return QStringLiteral("cannot write pixellated.png");
    return std::nullopt;
}

std::optional<QString> checkRender(const QDir& out) {
    const double scale = 2.0;
    const QImage base = sampleBase(1600, 1000);
    const auto cells = AnnotationRenderer::pixellate(base, scale);
    if (!cells) return QStringLiteral("pixellation failed");
    const QImage flat = AnnotationRenderer::render(base, everyKind(scale), cells);
    if (flat.size() != base.size())
        return mismatch("rendered size", sizeText(base.size()), sizeText(flat.size()));
    if (flat.constBits() == base.constBits()) return QStringLiteral("the renderer returned the base itself");
    const QImage opaqueBase = base.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // One point on each annotation must have changed (bottom-left pixel coordinates, scale 2).
    const QList<std::pair<const char*, QPoint>> marks{
        {"arrow shaft", {200, 160}}, {"rectangle edge", {520, 180}},
        {"oval edge", {840, 180}},   {"highlight", {1300, 130}},
        {"pen", {82, 560}},          {"counter", {1060, 540}}};
    for (const auto& [name, bl] : marks) {
        const QPoint topLeft(bl.x(), base.height() - 1 - bl.y());
        if (flat.pixel(topLeft) == opaqueBase.pixel(topLeft))
            return QStringLiteral("the %1 left the base unchanged at (%2, %3)")
                .arg(QLatin1String(name))
                .arg(bl.x())
                .arg(bl.y());
    }
    // Inside the blur the result is the pixellated copy, which differs from the base somewhere.
    bool blurChanged = false;
    for (int y = 1000 - 660; y < 1000 - 400; ++y)
        for (int x = 1200; x < 1520; ++x) {
            if (flat.pixel(x, y) != cells->pixel(x, y))
                return QStringLiteral("the blur does not show the cells at (%1, %2)").arg(x).arg(y);
            blurChanged = blurChanged || flat.pixel(x, y) != opaqueBase.pixel(x, y);
        }
    if (!blurChanged) return QStringLiteral("the blur left the base unchanged");
    if (!flat.save(out.filePath(QStringLiteral("annotations.png"))))
        return QStringLiteral("cannot write annotations.png");
    return std::nullopt;
}

std::optional<QString> checkRenderEmpty(const QDir&) {
    const QImage base = sampleBase(300, 200);
    const QImage flat = AnnotationRenderer::render(base, {});
    if (flat.size() != base.size())
        return mismatch("rendered size", sizeText(base.size()), sizeText(flat.size()));
    if (flat.convertToFormat(QImage::Format_RGB32) != base)
        return QStringLiteral("an empty list changed the base");
    return std::nullopt;
}

} // namespace

std::vector<SelfCheck> editorChecks() {
    return {{QStringLiteral("editor-pixellate"), checkPixellate},
            {QStringLiteral("editor-render"), checkRender},
            {QStringLiteral("editor-render-empty"), checkRenderEmpty}};
}

} // namespace selfchecks
