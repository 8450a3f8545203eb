#pragma once

#include <QIcon>
#include <QString>

// Named symbols ("camera.viewfinder", "checkmark.circle.fill", …) as icons. A freedesktop theme
// icon is used where the desktop has a fitting one; otherwise a small drawn icon, so every symbol
// exists even on a bare system without an icon theme.
namespace Symbols {

// An icon for the symbol; a null icon for a name this program never uses.
QIcon icon(const QString& name);

// A drawn rendition of the symbol at the given pixel size, in the given colour; a null pixmap for
// an unknown name. Used where a tinted glyph is wanted (toasts, dark toolbars).
QPixmap drawn(const QString& name, int pixelSize, const QColor& color);

// True for every name the program uses.
bool isKnown(const QString& name);

} // namespace Symbols
