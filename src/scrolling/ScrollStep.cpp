#include "scrolling/ScrollStep.h"

#include <QByteArray>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace scrollstep {

double waitSeconds(double speed) {
    if (speed < 0 || std::isnan(speed)) return 1.07;
    return (0.95 - 0.75 * std::min(speed, 1.0)) + 0.12;
}

int waitMilliseconds(double speed) {
    return static_cast<int>(std::lround(waitSeconds(speed) * 1000.0));
}

qint64 maximumHeight(qint64 setting) {
    return std::max(setting, lowestMaximumHeight);
}

int distance(double regionHeightPoints) {
    if (!(regionHeightPoints > 0)) return 0;
    return static_cast<int>(std::trunc(0.68 * regionHeightPoints));
}

int wheelDelta(ScrollDirection direction, int distance, bool reverse) {
    const int delta = direction == ScrollDirection::down ? -distance : distance;
    return reverse ? -delta : delta;
}

QString startText() {
    return QStringLiteral("Scrolling… press Esc to stop");
}

QString progressText(int totalHeightPixels, double scale) {
    const int points = scale > 0 ? static_cast<int>(totalHeightPixels / scale) : totalHeightPixels;
    return QStringLiteral("Scrolling… %1 pt (Esc to stop)").arg(points);
}

quint64 quickHash(const QImage& frame) {
    if (frame.isNull()) return 0;
    const auto* bytes = reinterpret_cast<const char*>(frame.constBits());
    const qsizetype count = frame.sizeInBytes();
    if (!bytes || count <= 0) return 0;
    const qsizetype step = std::max<qsizetype>(1, count / 4096);
    QByteArray sample;
    sample.reserve(count / step + 1);
    for (qsizetype offset = 0; offset < count; offset += step)
        sample.append(bytes[offset]);
    return static_cast<quint64>(qHashBits(sample.constData(), static_cast<size_t>(sample.size()), 0));
}

} // namespace scrollstep
