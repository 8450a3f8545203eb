// One scrolling step's stitching cost (the overlap search and the append that keeps the new rows)
// against the physical floor: a single pass that only reads the pixels the step reads.
#include "scrolling/VerticalStitcher.h"
#include "support/BenchSupport.h"

#include <QGuiApplication>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

using benchsupport::medianMs;

namespace {

// Median wall time of `fn` in milliseconds.

// A page of rows of varied colour with fine per-pixel texture, as text and pictures give.
QImage makePage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(5);
    for (int y = 0; y < height; ++y) {
        const int base = random.bounded(200);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int v = base + static_cast<int>(random.bounded(56));
            line[x] = qRgb(v, (v + x) & 255, 255 - v);
        }
    }
    return image;
}

struct Step {
    QImage previous;
    QImage next;
    int shift;
};

// Two frames of a region as the scrolling loop sees them: the content moved up by 68% of the height.
Step makeStep(int width, int height) {
    const int shift = height * 68 / 100;
    const QImage page = makePage(width, height + shift);
    return {page.copy(0, 0, width, height), page.copy(0, shift, width, height), shift};
}

// The pixels a step must touch: the sampled columns of every row of both frames (the signatures)
// and the new rows that become the slice.
double floorMs(const Step& s) {
    const int w = s.previous.width();
    const int step = std::max(1, w / std::min(w, 96));
    std::vector<uchar> slice(static_cast<size_t>(s.shift) * static_cast<size_t>(s.next.bytesPerLine()));
    return medianMs(
        [&] {
            std::uint64_t sum = 0;
            for (const QImage* frame : {&s.previous, &s.next})
                for (int y = 0; y < frame->height(); ++y) {
                    const auto* line = reinterpret_cast<const QRgb*>(frame->constScanLine(y));
                    for (int x = 0; x < w; x += step)
                        sum += line[x] & 0xff;
                }
            std::memcpy(slice.data(), s.next.constScanLine(s.next.height() - s.shift), slice.size());
            benchmark::DoNotOptimize(sum);
            benchmark::DoNotOptimize(slice.data());
        },
        30);
}

void reportAgainstFloor(benchmark::State& state, double perStepMs, double floor) {
    state.counters["ms_per_step"] = perStepMs;
    state.counters["floor_ms"] = floor;
    state.counters["ratio_to_floor"] = perStepMs / floor;
}

void BM_StitchStep(benchmark::State& state) {
    const Step s = makeStep(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const double floor = floorMs(s);
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        VerticalStitcher stitcher(s.previous);
        const auto shift = VerticalStitcher::findOverlap(s.previous, s.next);
        const bool accepted = stitcher.append(s.next, ScrollDirection::down);
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        if (!shift || *shift != s.shift || !accepted) state.SkipWithError("the step did not find the shift");
        benchmark::DoNotOptimize(stitcher.totalHeight());
    }
    reportAgainstFloor(state, total / static_cast<double>(state.iterations()), floor);
}

// What the scrolling loop actually pays per frame: append alone (it measures the overlap itself).
void BM_AppendOnly(benchmark::State& state) {
    const Step s = makeStep(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const double floor = floorMs(s);
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        VerticalStitcher stitcher(s.previous);
        const bool accepted = stitcher.append(s.next, ScrollDirection::down);
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        if (!accepted || stitcher.totalHeight() != s.previous.height() + s.shift)
            state.SkipWithError("the frame was not appended");
    }
    reportAgainstFloor(state, total / static_cast<double>(state.iterations()), floor);
}

void BM_Compose(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const QImage page = makePage(w, h * 6);
    VerticalStitcher stitcher(page.copy(0, 0, w, h));
    for (int top = h * 68 / 100; top + h <= page.height(); top += h * 68 / 100)
        stitcher.append(page.copy(0, top, w, h), ScrollDirection::down);
    const size_t bytes = static_cast<size_t>(stitcher.totalHeight()) * static_cast<size_t>(w) * 4;
    std::vector<uchar> from(bytes, 1), to(bytes);
    const double copyMs = medianMs(
        [&] {
            std::memcpy(to.data(), from.data(), bytes);
            benchmark::DoNotOptimize(to.data());
        },
        30);
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        auto image = stitcher.compose();
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        benchmark::DoNotOptimize(image);
    }
    const double perCompose = total / static_cast<double>(state.iterations());
    state.counters["ms"] = perCompose;
    state.counters["memcpy_ms"] = copyMs;
    state.counters["ratio_to_memcpy"] = perCompose / copyMs;
}

BENCHMARK(BM_StitchStep)->Args({1440, 900})->Args({2880, 1800})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendOnly)->Args({1440, 900})->Args({2880, 1800})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Compose)->Args({1440, 900})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchsupport::runOffscreen(argc, argv);
}
