// On Wayland the selection overlay can only open once the desktop's screenshot portal has answered:
// what Pictro adds is the time from that answer to every overlay window painted. Each round takes
// one plain portal screenshot (the baseline: the wait Pictro cannot shorten) and then opens the
// area overlay, timed from the portal's answer to its request to the overlay's first paint; the row is the
// median of those times, with the median per-round ratio to the portal's answer time. Run in the session of
// scripts/with-wayland.
#include "overlay/SelectionOverlay.h"
#include "overlay/SelectionOverlayView.h"
#include "platform/TimingMarks.h"
#include "platform/wayland/PortalScreenshot.h"
#include "platform/wayland/WaylandPlatform.h"
#include "support/BenchRows.h"
#include "support/OverlayPaints.h"

#include <QApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QScreen>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <optional>
#include <set>
#include <vector>

namespace {

QElapsedTimer sinceStart;
std::optional<qint64> answeredAtNs; // when the portal answered the overlay's request
QtMessageHandler passOn = nullptr;

// The portal's answer is marked before Pictro reads the picture it names; the mark is read here
// instead of printed. Reading the picture, cutting out the output and opening the windows are
// Pictro's share, counted after it.
void readMarks(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (context.category && qstrcmp(context.category, "pictro.timing") == 0) {
        if (text.contains(QLatin1String("screenshot portal: answered")))
            answeredAtNs = sinceStart.nsecsElapsed();
        return;
    }
    passOn(type, context, text);
}

OverlayPaintWatcher* watcher = nullptr;

void settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// One non-interactive portal screenshot, as the capture behind the overlay takes it, until its
// answer (the picture it names is read too: small next to the portal's own work).
double portalAnswerMs() {
    QElapsedTimer timer;
    timer.start();
    bool done = false;
    PortalScreenshot::take(QDBusConnection::sessionBus(), {}, [&](const ScreenshotOutcome&) { done = true; });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    return timer.nsecsElapsed() / 1e6;
}

std::vector<double> portalMs, afterAnswerMs, requestMs;

void BM_OverlayAfterPortalAnswer(benchmark::State& state) {
    for (auto _ : state) {
        // Past the moment within which the capture reuses the desktop's last picture.
        for (QElapsedTimer idle; !idle.isValid() || idle.elapsed() < 500;) {
            if (!idle.isValid()) idle.start();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        const double portal = portalAnswerMs();
        watcher->painted.clear();
        answeredAtNs.reset();
        const qint64 requestedNs = sinceStart.nsecsElapsed();
        SelectionOverlay::begin(OverlayMode::area, [](const OverlayResult&) {});
        while (!watcher->allPainted())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        const qint64 paintedNs = sinceStart.nsecsElapsed();
        SelectionOverlay::current()->finish(OverlayResult::cancelled());
        settle();
        if (!answeredAtNs) {
            state.SkipWithError("the portal's answer was not marked");
            return;
        }
        const double after = (paintedNs - *answeredAtNs) / 1e6;
        state.SetIterationTime(after / 1e3);
        portalMs.push_back(portal);
        afterAnswerMs.push_back(after);
        requestMs.push_back((paintedNs - requestedNs) / 1e6);
    }
}

BENCHMARK(BM_OverlayAfterPortalAnswer)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::printf("skipped: no Wayland session (run under scripts/with-wayland)\n");
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "wayland");
    // The portal's way even where the compositor could be copied from directly (as sway can).
    qputenv("PICTRO_WAYLAND_CAPTURE", "portal");
    QApplication app(argc, argv);
    Platform::install(std::make_unique<WaylandPlatform>());
    sinceStart.start();
    QLoggingCategory::setFilterRules(QStringLiteral("pictro.timing.debug=true"));
    passOn = qInstallMessageHandler(readMarks);
    OverlayPaintWatcher paints;
    watcher = &paints;
    app.installEventFilter(&paints);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (afterAnswerMs.empty()) return 1;
    std::vector<double> ratios;
    for (std::size_t i = 0; i < afterAnswerMs.size(); ++i)
        ratios.push_back(afterAnswerMs[i] / portalMs[i]);
    const double after = benchrows::median(afterAnswerMs);
    const QSize size =
        QGuiApplication::primaryScreen()->size() * QGuiApplication::primaryScreen()->devicePixelRatio();
    std::printf(
        "portal answer %.1f ms; overlay request -> painted %.1f ms; portal answer -> painted %.1f ms\n",
        benchrows::median(portalMs), benchrows::median(requestMs), after);
    char measured[80];
    std::snprintf(measured, sizeof measured, "%.1f ms (%.2fx the portal's answer)", after,
                  benchrows::median(ratios));
    benchrows::row("wayland portal answer -> overlay painted " + std::to_string(size.width()) + "x" +
                       std::to_string(size.height()),
                   measured, "<= 100 ms", after <= 100.0);
    return 0;
}
