#pragma once

// A tall "page" for scrolling captures over the fake platform: a scrollable view that moves under
// the synthetic wheel, so each captured screen shows the part scrolled into view.
#include "platform/fake/FakePlatform.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>

namespace scrollingtest {

inline QImage randomRows(int width, int height, quint32 seed) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        const QRgb c = qRgb(20 + random.bounded(211), 20 + random.bounded(211), 20 + random.bounded(211));
        std::fill_n(reinterpret_cast<QRgb*>(image.scanLine(y)), width, c);
    }
    return image;
}

// A scrollable view on the fake screen: it shows `page` from row `offset` in `viewport` (screen
// pixels) and moves by `pixelsPerClick` for each wheel notch, stopping at either end.
struct FakePage {
    FakePlatform* platform = nullptr;
    ScreenInfo screen;
    QImage page;
    QRect viewport;
    int offset = 0;
    int pixelsPerClick = 37;

    int lastOffset() const { return page.height() - viewport.height(); }
    void render() {
        QImage shot(screen.pixelRect.size(), QImage::Format_RGB32);
        shot.fill(QColor(90, 90, 90));
        QPainter painter(&shot);
        painter.drawImage(viewport.topLeft(), page.copy(0, offset, viewport.width(), viewport.height()));
        painter.end();
        platform->fakeCapture.setDisplayPixels(screen.displayId, shot);
    }
    void turn(int clicks) {
        // A notch away from the user (positive) shows what lies above.
        offset = std::clamp(offset - clicks * pixelsPerClick, 0, lastOffset());
        render();
    }
};

} // namespace scrollingtest
