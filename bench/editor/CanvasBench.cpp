// A repaint of the editor canvas and its flattening, with fifty annotations (blur among them) on a
// 4K capture, against a plain drawImage of the same capture into an image of its size.
#include "capture/CapturedImage.h"
#include "editor/Annotations.h"
#include "editor/EditorCanvasView.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

using benchsupport::medianMs;

namespace {

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;

const QImage& base() {
    return benchsupport::screenshotLike4K();
}

double drawImageMs() {
    QImage target(base().size(), QImage::Format_ARGB32_Premultiplied);
    return medianMs([&] {
        QPainter p(&target);
        p.drawImage(0, 0, base());
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    });
}

void sendMouse(QWidget* w, QEvent::Type type, const QPointF& at, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent event(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// Fifty annotations made the way the user makes them: drags and clicks with each tool in turn,
// spread over the whole canvas. Text is placed directly (typing needs no benchmark).
void annotate(EditorCanvasView& canvas) {
    const EditorTool tools[] = {EditorTool::arrow,   EditorTool::line,      EditorTool::rect,
                                EditorTool::oval,    EditorTool::highlight, EditorTool::pen,
                                EditorTool::counter, EditorTool::blur,      EditorTool::text};
    const QSizeF size = canvas.size();
    for (int i = 0; i < 50; ++i) {
        const EditorTool tool = tools[i % std::size(tools)];
        canvas.setCurrentTool(tool);
        const QPointF from(size.width() * ((i * 37) % 90) / 100.0, size.height() * ((i * 53) % 85) / 100.0);
        const QPointF to = from + QPointF(size.width() * 0.08, size.height() * 0.1);
        sendMouse(&canvas, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int step = 1; step <= 20; ++step)
            sendMouse(&canvas, QEvent::MouseMove, from + (to - from) * (step / 20.0), Qt::NoButton,
                      Qt::LeftButton);
        sendMouse(&canvas, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        if (QLineEdit* field = canvas.textField()) {
            field->setText(QStringLiteral("Note %1").arg(i));
            canvas.flattened(); // commits the text
        }
    }
}

void report(benchmark::State& state, double totalMs, double baselineMs) {
    const double per = totalMs / static_cast<double>(state.iterations());
    state.counters["ms"] = per;
    state.counters["drawImage_ms"] = baselineMs;
    state.counters["ratio_to_drawImage"] = per / baselineMs;
}

// Arguments: pixels per point × 10, magnification × 100.
void BM_CanvasRepaint4K(benchmark::State& state) {
    const double scale = state.range(0) / 10.0;
    EditorCanvasView canvas(CapturedImage{base(), scale});
    annotate(canvas);
    canvas.setMagnification(state.range(1) / 100.0);
    if (canvas.annotations().size() != 50) state.SkipWithError("annotations missing");
    QImage target(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    canvas.render(&target); // the pixellated copy is made once, on the first repaint
    const double baseline = drawImageMs();
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        canvas.render(&target);
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        benchmark::DoNotOptimize(target.constBits());
    }
    report(state, total, baseline);
}

void BM_CanvasFlattened4K(benchmark::State& state) {
    const double scale = state.range(0) / 10.0;
    EditorCanvasView canvas(CapturedImage{base(), scale});
    annotate(canvas);
    canvas.flattened();
    const double baseline = drawImageMs();
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const CapturedImage flat = canvas.flattened();
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        benchmark::DoNotOptimize(flat.image.constBits());
    }
    report(state, total, baseline);
}

BENCHMARK(BM_CanvasRepaint4K)
    ->ArgNames({"scale_x10", "zoom_pct"})
    ->Args({10, 100})
    ->Args({10, 25})
    ->Args({20, 100})
    ->Args({20, 25})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CanvasFlattened4K)->ArgNames({"scale_x10"})->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
