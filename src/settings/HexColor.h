#pragma once

#include <QColor>
#include <QString>

#include <optional>

namespace hexcolor {

// "#RRGGBB" or "RRGGBB", white space around allowed; anything else gives no colour.
std::optional<QColor> parse(const QString& text);

// Upper-case "#RRGGBB" of the colour in sRGB, each channel rounded half away from zero.
QString hexString(const QColor& color);

} // namespace hexcolor
