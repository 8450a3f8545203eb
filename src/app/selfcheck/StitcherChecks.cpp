#include "app/selfcheck/SelfChecks.h"

#include "scrolling/VerticalStitcher.h"

#include <QRandomGenerator>

namespace selfchecks {
namespace {

// A 400 × 2000 picture whose every row has its own random colour, cut into six 500-row frames
// as a page scrolled by 320 rows a step (and 220 at the end) would show them.
std::optional<QString> checkSixFrames(const QDir& out) {
    QImage source(400, 2000, QImage::Format_RGB32);
    QRandomGenerator random(20240601);
    for (int y = 0; y < source.height(); ++y) {
        const QRgb colour = qRgb(random.bounded(256), random.bounded(256), random.bounded(256));
        auto* line = reinterpret_cast<QRgb*>(source.scanLine(y));
        std::fill(line, line + source.width(), colour);
    }
    const int starts[] = {0, 320, 640, 960, 1280, 1500};
    VerticalStitcher stitcher(source.copy(0, starts[0], 400, 500));
    for (int i = 1; i < 6; ++i) {
        const int before = stitcher.totalHeight();
        if (!stitcher.append(source.copy(0, starts[i], 400, 500), ScrollDirection::down))
            return QStringLiteral("frame %1 was rejected").arg(i + 1);
        const int expected = starts[i] - starts[i - 1];
        if (stitcher.totalHeight() - before != expected)
            return mismatch(QStringLiteral("new rows of frame %1").arg(i + 1), QString::number(expected),
                            QString::number(stitcher.totalHeight() - before));
    }
    const auto stitched = stitcher.compose();
    if (!stitched) return QStringLiteral("composition failed");
    if (stitched->size() != source.size())
        return mismatch("stitched size", "400 × 2000",
                        QStringLiteral("%1 × %2").arg(stitched->width()).arg(stitched->height()));
    if (stitched->convertToFormat(QImage::Format_RGB32) != source)
        return QStringLiteral("the stitched image differs from the source");
    if (!stitched->save(out.filePath(QStringLiteral("stitched.png"))))
        return QStringLiteral("cannot write stitched.png");
    return std::nullopt;
}

} // namespace

std::vector<SelfCheck> stitcherChecks() {
    return {{QStringLiteral("stitcher-six-frames"), checkSixFrames}};
}

} // namespace selfchecks
