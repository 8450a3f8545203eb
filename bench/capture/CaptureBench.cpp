// Display capture of the whole (virtual) screen against a plain copy of the same number of bytes,
// with the shared-memory path and with the plain GetImage fallback. Run under scripts/with-xvfb;
// PICTRO_XVFB_SCREEN=3840x2160x24 for the 4K figure.
#include "platform/x11/X11Platform.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

X11Platform* platform = nullptr;
ScreenInfo screen;
std::map<std::string, double> seconds;

template <typename F> void timed(benchmark::State& state, const char* key, F&& body) {
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        body();
    seconds[key] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                   static_cast<double>(state.iterations());
    state.counters["MB"] = screen.pixelRect.width() * screen.pixelRect.height() * 4 / 1e6;
}

void BM_MemcpySameBytes(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(screen.pixelRect.width()) * screen.pixelRect.height() * 4;
    std::vector<char> from(bytes, 1), to(bytes);
    timed(state, "memcpy", [&] {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
    });
}
BENCHMARK(BM_MemcpySameBytes)->Unit(benchmark::kMillisecond);

void BM_DisplayCaptureShm(benchmark::State& state) {
    platform->x11Capture().grabber().setSharedMemoryEnabled(true);
    timed(state, "shm", [] { benchmark::DoNotOptimize(platform->x11Capture().readDisplay(screen)); });
}
BENCHMARK(BM_DisplayCaptureShm)->Unit(benchmark::kMillisecond);

void BM_DisplayCaptureGetImage(benchmark::State& state) {
    platform->x11Capture().grabber().setSharedMemoryEnabled(false);
    timed(state, "getimage", [] { benchmark::DoNotOptimize(platform->x11Capture().readDisplay(screen)); });
    platform->x11Capture().grabber().setSharedMemoryEnabled(true);
}
BENCHMARK(BM_DisplayCaptureGetImage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    auto owned = std::make_unique<X11Platform>();
    platform = owned.get();
    Platform::install(std::move(owned));
    screen = platform->screens().screens().front();
    const auto probe = platform->x11Capture().readDisplay(screen);
    if (!std::holds_alternative<QImage>(probe)) {
        std::fprintf(stderr, "Pictro: display capture failed\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\nDisplay capture %dx%d: MIT-SHM %.2f ms (%.1fx memcpy of the same bytes), GetImage %.2f ms "
                "(%.1fx), memcpy %.2f ms\n",
                screen.pixelRect.width(), screen.pixelRect.height(), seconds["shm"] * 1e3,
                seconds["shm"] / seconds["memcpy"], seconds["getimage"] * 1e3,
                seconds["getimage"] / seconds["memcpy"], seconds["memcpy"] * 1e3);
    return 0;
}
