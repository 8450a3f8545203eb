// PNG encoding of a screenshot-like 3840×2160 image with the settings the save service uses,
// against Qt's default PNG writer, and the cost of the format decision at two image sizes.
#include "bench/save/ScreenshotLike.h"
#include "save/FormatDecision.h"
#include "save/PngWriter.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>

namespace {

struct Measured {
    double secondsPerEncode = 0;
    qsizetype bytes = 0;
};
std::map<int, Measured> pngResults; // by quality; -1 is Qt's default
std::map<std::string, double> decideResults;

const QImage& screenshot() {
    static const QImage image = screenshotLikeImage(3840, 2160);
    return image;
}

qsizetype encodePng(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (quality >= 0) writer.setQuality(quality);
    writer.write(image);
    return bytes.size();
}

void BM_PngEncode(benchmark::State& state) {
    const int quality = static_cast<int>(state.range(0));
    const QImage& image = screenshot();
    qsizetype bytes = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        benchmark::DoNotOptimize(bytes = encodePng(image, quality));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    pngResults[quality] = {seconds / static_cast<double>(state.iterations()), bytes};
    state.counters["bytes"] = static_cast<double>(bytes);
}
// -1: Qt's default; the others are QImageWriter qualities, zlib level (100 − q) × 9 / 91.
BENCHMARK(BM_PngEncode)->Arg(-1)->Arg(80)->Arg(50)->Unit(benchmark::kMillisecond)->MinTime(1.0);

constexpr int oursKey = 1000; // the save service's own writer in the results table

void BM_PngEncodeOurs(benchmark::State& state) {
    const QImage& image = screenshot();
    qsizetype bytes = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        benchmark::DoNotOptimize(bytes = pngwriter::encode(image).value_or(QByteArray()).size());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    pngResults[oursKey] = {seconds / static_cast<double>(state.iterations()), bytes};
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PngEncodeOurs)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_DecideFormat(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const QImage image = screenshotLikeImage(w, h);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        benchmark::DoNotOptimize(formatdecision::decide(image, SaveFormat::autoFormat));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    decideResults[std::to_string(w) + "x" + std::to_string(h)] =
        seconds / static_cast<double>(state.iterations());
}
BENCHMARK(BM_DecideFormat)->Args({1920, 1080})->Args({7680, 4320})->Unit(benchmark::kMicrosecond);

void printSummary() {
    if (pngResults.count(-1)) {
        const Measured base = pngResults[-1];
        std::printf("\nPNG encode of a 3840x2160 screenshot-like image (baseline: Qt default writer, %.1f "
                    "ms, %lld bytes)\n",
                    base.secondsPerEncode * 1e3, static_cast<long long>(base.bytes));
        for (const auto& [quality, m] : pngResults) {
            if (quality < 0) continue;
            const std::string label = quality == oursKey ? std::string("pngwriter (used)")
                                                         : "Qt quality " + std::to_string(quality);
            std::printf("  %-18s %7.1f ms  %9lld bytes  speed-up %.2fx  size %+.1f %%\n", label.c_str(),
                        m.secondsPerEncode * 1e3, static_cast<long long>(m.bytes),
                        base.secondsPerEncode / m.secondsPerEncode,
                        100.0 * (double(m.bytes) / double(base.bytes) - 1.0));
        }
    }
    if (decideResults.size() == 2) {
        const double small = decideResults["1920x1080"], big = decideResults["7680x4320"];
        std::printf("\ndecideFormat: 1920x1080 %.1f us, 7680x4320 %.1f us (ratio %.2f for 16x the pixels)\n",
                    small * 1e6, big * 1e6, big / small);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
