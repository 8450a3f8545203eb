#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QSizeF>
#include <QString>

class QPainter;

// Text of annotations (text boxes and counter numbers) in the one bold sans face they use, at
// fractional pixel sizes. Measuring and drawing go through the same face, size and layout, so a
// measured box is the box the text is drawn into.
namespace annotationtext {

// The bold face at an integral pixel size near `pixelSize`, and the factor that brings it to the
// exact size. QFont only takes whole pixel sizes; drawing and measuring at the integral size,
// scaled by the factor, keeps fractional sizes (a counter's 14.7 pixels) exact everywhere.
struct SizedFont {
    QFont font;
    double scale = 1.0;
};
SizedFont boldFont(double pixelSize);

// The family name of the bold face in use (DejaVu Sans when its file is installed).
QString family();

// The size of `text` laid out at `pixelSize`: the widest line's advance by the lines' height.
// Lines are separated by '\n'. Empty text measures 0 × 0.
QSizeF measure(const QString& text, double pixelSize);

// Paints `text` with the top-left corner of its box at the painter's origin in a y-down space.
void paint(QPainter& painter, const QString& text, double pixelSize, const QColor& color);

// Draws `text` upright in bottom-left space with the bottom-left corner of its box at `origin`.
void drawUpright(QPainter& painter, const QString& text, double pixelSize, const QColor& color,
                 const QPointF& origin);

// As drawUpright, under the soft shadow of the text itself.
struct Shadow {
    QPointF offset; // bottom-left space
    double blurRadius = 0;
    QColor color;
};
void drawUprightWithShadow(QPainter& painter, const QString& text, double pixelSize, const QColor& color,
                           const QPointF& origin, const Shadow& shadow);

} // namespace annotationtext
