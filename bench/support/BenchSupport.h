#pragma once

// Timing and test images shared by the benchmark programs.
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace benchsupport {

// The median wall time of `repetitions` runs of `fn`, in milliseconds: a baseline measured this
// way in the same run is what the ratios are taken against.
template <typename Fn> double medianMs(Fn&& fn, int repetitions = 15) {
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        fn();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::nth_element(times.begin(), times.begin() + repetitions / 2, times.end());
    return times[static_cast<size_t>(repetitions / 2)];
}

// A 3840 × 2160 screenshot-like image: a gradient with a grid of coloured blocks.
inline const QImage& screenshotLike4K() {
    static const QImage image = [] {
        constexpr int width = 3840, height = 2160;
        QImage img(width, height, QImage::Format_RGB32);
        QPainter p(&img);
        QLinearGradient g(0, 0, width, height);
        g.setColorAt(0, QColor(30, 60, 120));
        g.setColorAt(1, QColor(240, 220, 200));
        p.fillRect(img.rect(), g);
        for (int y = 0; y < height; y += 90)
            for (int x = 0; x < width; x += 130)
                p.fillRect(x, y, 60, 40, QColor::fromHsv((x + y) % 360, 180, 220));
        return img;
    }();
    return image;
}

// The main of a benchmark program that draws off screen: a Qt application without a display.
inline int runOffscreen(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace benchsupport
