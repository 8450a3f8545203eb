// What the scrolling loop adds to each step besides stitching: cutting the region out of the
// screen image and hashing a sample of it, against a plain copy of the region's bytes.
#include "scrolling/ScrollRegion.h"
#include "scrolling/ScrollStep.h"
#include "support/BenchSupport.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

namespace {

void BM_CutAndHash(benchmark::State& state) {
    const QImage& screen = benchsupport::screenshotLike4K();
    // A region of most of a 2× screen, in points from its bottom-left corner.
    const QRectF region(100, 80, 1600, 900);
    const QRect cut = scrollregion::frameCutRect(region, 2.0, screen.height());
    const int rowBytes = cut.width() * 4;
    std::vector<uchar> to(static_cast<size_t>(rowBytes) * static_cast<size_t>(cut.height()));
    const double copyMs = benchsupport::medianMs(
        [&] {
            for (int y = 0; y < cut.height(); ++y)
                std::memcpy(to.data() + static_cast<size_t>(y) * rowBytes,
                            screen.constScanLine(cut.y() + y) + cut.x() * 4, static_cast<size_t>(rowBytes));
            benchmark::DoNotOptimize(to.data());
        },
        30);
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const QImage frame = screen.copy(cut);
        const quint64 hash = scrollstep::quickHash(frame);
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        benchmark::DoNotOptimize(hash);
    }
    const double perStep = total / static_cast<double>(state.iterations());
    state.counters["ms_per_step"] = perStep;
    state.counters["copy_ms"] = copyMs;
    state.counters["ratio_to_copy"] = perStep / copyMs;
}

BENCHMARK(BM_CutAndHash)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchsupport::runOffscreen(argc, argv);
}
