#pragma once

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QStringList>

// The toast's content box: an icon and up to two lines of text side by side, with fixed insets.
// All sizes are points.
namespace toastlayout {

inline constexpr double maxTextWidth = 320.0;
inline constexpr int maxLines = 2;
inline constexpr double iconSize = 16.0;
inline constexpr double spacing = 8.0;
inline constexpr double insetTop = 10.0;
inline constexpr double insetLeft = 14.0;
inline constexpr double insetBottom = 10.0;
inline constexpr double insetRight = 16.0;
inline constexpr double cornerRadius = 10.0;
inline constexpr double fontPixelSize = 13.0;

// The system font at 13 pt, medium weight.
QFont font();

struct Layout {
    QStringList lines; // what is drawn, one entry per line, the last one elided when cut
    QRectF iconRect;   // empty when there is no icon
    QRectF textRect;   // the text block, lines stacked from its top
    double lineHeight = 0.0;
    QSizeF size; // the whole toast
};

// Breaks `message` at word boundaries (anywhere within a word too long for a line) into lines of at
// most 320 pt; a message that needs more than two lines keeps its first line and ends the second
// with an ellipsis. Line breaks in the message start new lines.
QStringList wrapLines(const QString& message, const QFont& font);

// The toast box for the message; `hasIcon` false leaves out the icon and its spacing.
Layout make(const QString& message, bool hasIcon, const QFont& font);

} // namespace toastlayout
