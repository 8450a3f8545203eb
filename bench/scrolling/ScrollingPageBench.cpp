// A scrolling capture of a long page in a real viewer (mupdf on a tall generated PDF), in rows of
// the stitched page per second, each run checked row for row against the page as the viewer's own
// renderer draws it. Baseline, in the same run: the bare screen captures the run took, taken back
// to back, so the ratio is what waiting for the viewer and stitching add to them. Needs an X
// server with a window manager (scripts/with-xvfb).
#include "capture/CaptureEngine.h"
#include "platform/Platform.h"
#include "platform/Screens.h"
#include "platform/x11/X11Platform.h"
#include "scrolling/ScrollingCapture.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "support/BenchRows.h"
#include "tests/support/TextDocument.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

namespace {

constexpr QSize kPage(420, 9000);

// Screen captures of the installed X11 platform, counted.
class CountingCapture : public ScreenCapture {
  public:
    explicit CountingCapture(ScreenCapture& real) : m_real(real) {}
    bool screenCaptureAllowed() const override { return m_real.screenCaptureAllowed(); }
    void requestScreenCaptureAccess() override { m_real.requestScreenCaptureAccess(); }
    QFuture<PixelsOrError> captureDisplay(const ScreenInfo& screen) override {
        ++displays;
        return m_real.captureDisplay(screen);
    }
    QFuture<PixelsOrError> captureWindow(quint32 windowID) override { return m_real.captureWindow(windowID); }
    std::atomic<int> displays{0};

  private:
    ScreenCapture& m_real;
};

class CountingX11Platform : public X11Platform {
  public:
    ScreenCapture& screenCapture() override { return counting; }
    CountingCapture counting{x11Capture()};
};
CountingX11Platform* platform = nullptr;

// The client window of the first mapped window of this class, in root pixels.
QRect clientRect(const QString& windowId) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const xcb_window_t w = windowId.toUInt();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    auto* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr);
    auto* t = xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, w, root, 0, 0), nullptr);
    QRect r;
    if (g && t) r = QRect(t->dst_x, t->dst_y, g->width, g->height);
    std::free(g);
    std::free(t);
    xcb_disconnect(c);
    return r;
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

QImage shown(const QRect& r) {
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, r.x(), r.y(), r.width(), r.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// Runs the event loop until `pred` holds, looking every few milliseconds; the loop sleeps in
// between, so the viewer and the server have the cores the capture would leave them.
template <typename Pred> bool waitUntil(Pred pred, int ms) {
    QElapsedTimer t;
    t.start();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (pred() || t.elapsed() > ms) loop.quit();
    });
    poll.start(5);
    if (!pred()) loop.exec();
    return pred();
}

struct Round {
    double seconds = 0;
    int rows = 0;
    int frames = 0;
    bool exact = false;
};

// Per region height: the rate of each round, and its ratio to the bare captures.
std::map<int, std::vector<double>> rates, ratios;
bool allExact = true;

void BM_ScrollingCaptureOfALongPage(benchmark::State& state) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("long.pdf"));
    testsupport::writeTextDocument(pdf, kPage);
    run(QStringLiteral("mutool"), {"draw", "-r", "72", "-o", dir.filePath(QStringLiteral("page.png")), pdf});
    const QImage page =
        QImage(dir.filePath(QStringLiteral("page.png"))).convertToFormat(QImage::Format_RGB32);
    if (page.size() != kPage) {
        state.SkipWithError("mutool drew no page");
        return;
    }
    Settings settings(dir.filePath(QStringLiteral("Pictro.conf")));
    // The shortest wait a user can choose, as the tests use.
    settings.set(keys::scrollSpeed, 1.0);
    const ScreenInfo screen = platform->screens().screens().front();
    for (auto _ : state) {
        QProcess viewer;
        viewer.start(QStringLiteral("mupdf"), {"-r", "72", pdf});
        const QString id =
            run(QStringLiteral("xdotool"), {"search", "--sync", "--onlyvisible", "--class", "mupdf"})
                .section(u'\n', 0, 0);
        // The viewer's window as tall as the region a user drags over a page.
        run(QStringLiteral("xdotool"),
            {"windowsize", "--sync", id, QString::number(kPage.width()), QString::number(state.range(0))});
        QRect window;
        waitUntil(
            [&] {
                window = clientRect(id);
                return window.height() == state.range(0);
            },
            5000);
        if (window.size() != QSize(kPage.width(), static_cast<int>(state.range(0))) ||
            !waitUntil([&] { return shown(window) == page.copy(0, 0, window.width(), window.height()); },
                       20000)) {
            state.SkipWithError("the viewer did not show the page's top");
            return;
        }
        const QRectF region = platform->screens()
                                  .converter()
                                  .qtToBottomLeft(QRectF(window))
                                  .translated(-screen.frame.topLeft());
        platform->counting.displays = 0;
        std::optional<CapturedImage> result;
        bool done = false;
        QElapsedTimer timer;
        timer.start();
        ScrollingCapture::start(
            ScrollDirection::down, screen, region,
            [&](const std::optional<CapturedImage>& image) {
                result = image;
                done = true;
            },
            settings);
        waitUntil([&] { return done; }, 300000);
        const double seconds = timer.nsecsElapsed() / 1e9;
        const int frames = platform->counting.displays;
        viewer.kill();
        viewer.waitForFinished(5000);

        // The same number of captures of the same screen, one after the other.
        QElapsedTimer bare;
        bare.start();
        for (int i = 0; i < frames; ++i) {
            auto f = CaptureEngine::captureDisplay(screen);
            f.waitForFinished();
            benchmark::DoNotOptimize(f.result().ok());
        }
        const double bareSeconds = bare.nsecsElapsed() / 1e9;

        const QImage stitched = result ? result->image.convertToFormat(QImage::Format_RGB32) : QImage();
        const bool exact = stitched.size() == page.size() && stitched == page;
        allExact = allExact && exact;
        state.SetIterationTime(seconds);
        rates[static_cast<int>(state.range(0))].push_back(stitched.height() / seconds);
        ratios[static_cast<int>(state.range(0))].push_back(seconds / bareSeconds);
        std::printf("round: %d of %d rows in %.2f s (%.0f px/s), %d frames, bare captures %.3f s, %s\n",
                    stitched.height(), page.height(), seconds, stitched.height() / seconds, frames,
                    bareSeconds, exact ? "exact" : "NOT EXACT");
        std::fflush(stdout);
    }
    state.counters["px_per_s"] = benchrows::median(rates[static_cast<int>(state.range(0))]);
    state.counters["ratio_to_bare_captures"] = benchrows::median(ratios[static_cast<int>(state.range(0))]);
}
// A third of a 1080p screen, and most of it.
BENCHMARK(BM_ScrollingCaptureOfALongPage)
    ->Arg(360)
    ->Arg(900)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    Settings::registerDefaults();
    auto owned = std::make_unique<CountingX11Platform>();
    platform = owned.get();
    Platform::install(std::move(owned));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& [height, each] : rates) {
        const double rate = benchrows::median(each);
        char measured[96];
        std::snprintf(measured, sizeof measured, "%.0f px/s, %.1fx its bare captures, %s", rate,
                      benchrows::median(ratios[height]), allExact ? "exact" : "NOT EXACT");
        benchrows::row("scrolling capture, 9000 px page in mupdf, region " + std::to_string(height) +
                           " px high",
                       measured, ">= 1000 px/s, exact", rate >= 1000 && allExact);
    }
    return 0;
}
