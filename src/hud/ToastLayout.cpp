#include "hud/ToastLayout.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace toastlayout {

QFont font() {
    QFont f = QApplication::font();
    f.setPixelSize(static_cast<int>(fontPixelSize));
    f.setWeight(QFont::Medium);
    return f;
}

namespace {

// The message as one paragraph in which the message's own line breaks are hard breaks.
QString paragraphText(const QString& message) {
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return text;
}

// What follows the first line, with hard breaks folded to spaces, for the elided second line.
QString restAsOneLine(const QString& text, int from) {
    QString rest = text.mid(from);
    rest.replace(QChar::LineSeparator, QLatin1Char(' '));
    return rest;
}

QString lineText(const QString& text, const QTextLine& line) {
    QString s = text.mid(line.textStart(), line.textLength());
    s.remove(QChar::LineSeparator);
    // Trailing spaces belong to the break, not to the visible line.
    while (!s.isEmpty() && s.back().isSpace())
        s.chop(1);
    return s;
}

// The second of more than two lines, ending with an ellipsis. Soft-wrapped text runs on to the
// width; a hard break right after the second line still shows that something was left out.
QString cutSecondLine(const QString& text, const QTextLine& second, const QFontMetricsF& metrics) {
    const QString rest = restAsOneLine(text, second.textStart()).trimmed();
    const QString elided = metrics.elidedText(rest, Qt::ElideRight, maxTextWidth);
    if (elided != rest) return elided;
    QString own = lineText(text, second);
    const QChar ellipsis(0x2026);
    while (!own.isEmpty() && metrics.horizontalAdvance(own + ellipsis) > maxTextWidth)
        own.chop(1);
    return own + ellipsis;
}

} // namespace

QStringList wrapLines(const QString& message, const QFont& font) {
    const QString text = paragraphText(message);
    if (text.isEmpty()) return {};
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);

    QList<QTextLine> lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(maxTextWidth);
        lines.append(line);
        if (lines.size() > maxLines) break;
    }
    layout.endLayout();

    QStringList result;
    if (lines.isEmpty()) return result;
    result << lineText(text, lines[0]);
    if (lines.size() == 1) return result;
    if (lines.size() == maxLines) {
        result << lineText(text, lines[1]);
        return result;
    }
    result << cutSecondLine(text, lines[1], QFontMetricsF(font));
    return result;
}

Layout make(const QString& message, bool hasIcon, const QFont& font) {
    const QFontMetricsF metrics(font);
    Layout l;
    l.lines = wrapLines(message, font);
    l.lineHeight = metrics.height();

    double textWidth = 0.0;
    for (const QString& line : l.lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    textWidth = std::min(std::ceil(textWidth), maxTextWidth);
    const double textHeight = std::ceil(l.lineHeight * l.lines.size());

    const double iconWidth = hasIcon ? iconSize : 0.0;
    const double gap = hasIcon && !l.lines.isEmpty() ? spacing : 0.0;
    const double rowWidth = iconWidth + gap + textWidth;
    const double rowHeight = std::max(hasIcon ? iconSize : 0.0, textHeight);

    // The row's items are centred vertically, as in a horizontal stack.
    if (hasIcon) l.iconRect = QRectF(insetLeft, insetTop + (rowHeight - iconSize) * 0.5, iconSize, iconSize);
    l.textRect =
        QRectF(insetLeft + iconWidth + gap, insetTop + (rowHeight - textHeight) * 0.5, textWidth, textHeight);
    l.size = QSizeF(insetLeft + rowWidth + insetRight, insetTop + rowHeight + insetBottom);
    return l;
}

} // namespace toastlayout
