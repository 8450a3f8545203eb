#include "editor/AnnotationText.h"

#include "editor/BottomLeftPainter.h"
#include "platform/Log.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace annotationtext {
namespace {

const char* const kBoldFacePath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// Loaded once per process; the application font stays registered for its lifetime.
QFont baseFont() {
    static const QFont font = [] {
        QFont f;
        const int id = QFile::exists(QLatin1String(kBoldFacePath))
                           ? QFontDatabase::addApplicationFont(QLatin1String(kBoldFacePath))
                           : -1;
        const QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
        if (!families.isEmpty()) {
            f.setFamily(families.first());
        } else {
            qCWarning(lcEditor, "%s not found; annotations use the default bold sans face", kBoldFacePath);
            f.setFamily(QStringLiteral("Sans Serif"));
            f.setStyleHint(QFont::SansSerif);
        }
        f.setWeight(QFont::Bold);
        // Unhinted outlines scale linearly, so the box measured at one size is the box drawn.
        f.setHintingPreference(QFont::PreferNoHinting);
        f.setKerning(true);
        return f;
    }();
    return font;
}

QStringList linesOf(const QString& text) {
    return text.split(QLatin1Char('\n'));
}

// Extra room around a text image so that glyph overhangs (bold 'j', 'f') are not cut off.
int overhangPad(double pixelSize) {
    return static_cast<int>(std::ceil(pixelSize * 0.25)) + 2;
}

} // namespace

SizedFont boldFont(double pixelSize) {
    SizedFont sized;
    sized.font = baseFont();
    const double size = std::max(pixelSize, 0.01);
    const int whole = std::max(1, static_cast<int>(std::lround(size)));
    sized.font.setPixelSize(whole);
    sized.scale = size / whole;
    return sized;
}

QString family() {
    return baseFont().family();
}

QSizeF measure(const QString& text, double pixelSize) {
    if (text.isEmpty()) return QSizeF(0, 0);
    const SizedFont sized = boldFont(pixelSize);
    const QFontMetricsF fm(sized.font);
    const QStringList lines = linesOf(text);
    double width = 0;
    for (const QString& line : lines)
        width = std::max(width, fm.horizontalAdvance(line));
    const double height = fm.height() + static_cast<double>(lines.size() - 1) * fm.lineSpacing();
    return QSizeF(width * sized.scale, height * sized.scale);
}

void paint(QPainter& painter, const QString& text, double pixelSize, const QColor& color) {
    const SizedFont sized = boldFont(pixelSize);
    const QFontMetricsF fm(sized.font);
    painter.save();
    painter.scale(sized.scale, sized.scale);
    painter.setFont(sized.font);
    painter.setPen(color);
    const QStringList lines = linesOf(text);
    for (qsizetype i = 0; i < lines.size(); ++i)
        painter.drawText(QPointF(0, fm.ascent() + static_cast<double>(i) * fm.lineSpacing()), lines[i]);
    painter.restore();
}

void drawUpright(QPainter& painter, const QString& text, double pixelSize, const QColor& color,
                 const QPointF& origin) {
    const QSizeF box = measure(text, pixelSize);
    painter.save();
    bottomleft::unflipAt(painter, QPointF(origin.x(), origin.y() + box.height()));
    paint(painter, text, pixelSize, color);
    painter.restore();
}

void drawUprightWithShadow(QPainter& painter, const QString& text, double pixelSize, const QColor& color,
                           const QPointF& origin, const Shadow& shadow) {
    const QSizeF box = measure(text, pixelSize);
    const int pad = overhangPad(pixelSize);
    QImage shape(static_cast<int>(std::ceil(box.width())) + 2 * pad,
                 static_cast<int>(std::ceil(box.height())) + 2 * pad, QImage::Format_ARGB32_Premultiplied);
    if (!shape.isNull()) {
        shape.fill(Qt::transparent);
        QPainter p(&shape);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.translate(pad, pad);
        paint(p, text, pixelSize, color);
        p.end();
        const QRectF shapeRect(origin.x() - pad, origin.y() + box.height() + pad - shape.height(),
                               shape.width(), shape.height());
        bottomleft::drawSoftShadow(painter, shape, shapeRect, shadow.offset, shadow.blurRadius, shadow.color);
    }
    drawUpright(painter, text, pixelSize, color, origin);
}

} // namespace annotationtext
