#include "settings/HexColor.h"

#include <cmath>

namespace hexcolor {

std::optional<QColor> parse(const QString& text) {
    QString t = text.trimmed();
    if (t.startsWith(QLatin1Char('#'))) t.remove(0, 1);
    if (t.size() != 6) return std::nullopt;
    for (QChar c : t)
        if (!std::isxdigit(static_cast<unsigned char>(c.toLatin1())) || c.unicode() > 0x7f)
            return std::nullopt;
    bool ok = false;
    const uint value = t.toUInt(&ok, 16);
    if (!ok) return std::nullopt;
    return QColor::fromRgbF(((value >> 16) & 0xff) / 255.0f, ((value >> 8) & 0xff) / 255.0f,
                            (value & 0xff) / 255.0f, 1.0f);
}

QString hexString(const QColor& color) {
    const QColor c = color.isValid() ? color.toRgb() : color;
    auto channel = [](float v) { return static_cast<int>(std::round(static_cast<double>(v) * 255.0)); };
    return QString::asprintf("#%02X%02X%02X", channel(c.redF()), channel(c.greenF()), channel(c.blueF()));
}

} // namespace hexcolor
