// Pixellation and flattening of a 4K capture against a plain copy of the same image.
#include "editor/AnnotationRenderer.h"
#include "editor/Annotations.h"
#include "support/BenchSupport.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

using benchsupport::medianMs;

namespace {

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;
constexpr double kScale = 2.0;

const QImage& base() {
    return benchsupport::screenshotLike4K();
}

double copyMs() {
    return medianMs([] {
        QImage copy = base().copy();
        benchmark::DoNotOptimize(copy.constBits());
    });
}

// Ten annotations of every kind, in pixels of the 2× capture.
AnnotationList tenAnnotations() {
    using K = ShapeAnnotation::Kind;
    const auto s = [](double x, double y) { return QPointF(x * kScale, y * kScale); };
    AnnotationList list;
    list.push_back(std::make_shared<ShapeAnnotation>(K::arrow, s(100, 100), s(600, 400), kScale));
    list.push_back(std::make_shared<ShapeAnnotation>(K::line, s(100, 900), s(1800, 950), kScale));
    list.push_back(std::make_shared<ShapeAnnotation>(K::rect, s(700, 100), s(1200, 500), kScale));
    list.push_back(std::make_shared<ShapeAnnotation>(K::oval, s(1300, 100), s(1800, 500), kScale));
    list.push_back(std::make_shared<ShapeAnnotation>(K::highlight, s(100, 550), s(900, 620), kScale));
    auto pen = std::make_shared<PenAnnotation>(kScale);
    for (int i = 0; i < 300; ++i)
        pen->points << s(1000 + i * 2.5, 600 + (i % 20) * 6);
    list.push_back(pen);
    auto text = std::make_shared<TextAnnotation>(kScale);
    text->text = QStringLiteral("Flattened at 3840 × 2160");
    text->origin = s(100, 700);
    list.push_back(text);
    for (int n = 1; n <= 2; ++n) {
        auto counter = std::make_shared<CounterAnnotation>(kScale);
        counter->center = s(1500 + n * 60, 700);
        counter->number = n;
        list.push_back(counter);
    }
    auto blur = std::make_shared<BlurAnnotation>(kScale);
    blur->rect = QRectF(s(200, 200), s(900, 500));
    list.push_back(blur);
    return list;
}

void report(benchmark::State& state, double totalMs, double baselineMs) {
    const double per = totalMs / static_cast<double>(state.iterations());
    state.counters["ms"] = per;
    state.counters["copy_ms"] = baselineMs;
    state.counters["ratio_to_copy"] = per / baselineMs;
}

void BM_Pixellate4K(benchmark::State& state) {
    const double baseline = copyMs();
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        auto cells = AnnotationRenderer::pixellate(base(), kScale);
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        if (!cells) state.SkipWithError("pixellation failed");
        benchmark::DoNotOptimize(cells);
    }
    report(state, total, baseline);
}

void BM_RenderTen4K(benchmark::State& state) {
    const double baseline = copyMs();
    const auto cells = AnnotationRenderer::pixellate(base(), kScale);
    const AnnotationList list = tenAnnotations();
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        QImage flat = AnnotationRenderer::render(base(), list, cells);
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        benchmark::DoNotOptimize(flat.constBits());
    }
    report(state, total, baseline);
}

void BM_RenderEmpty4K(benchmark::State& state) {
    const double baseline = copyMs();
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        QImage flat = AnnotationRenderer::render(base(), {});
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        benchmark::DoNotOptimize(flat.constBits());
    }
    report(state, total, baseline);
}

BENCHMARK(BM_Pixellate4K)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderTen4K)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderEmpty4K)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchsupport::runOffscreen(argc, argv);
}
