// Key press to saved file: the real program under an X display, the shortcut pressed through
// XTest, timed until the PNG is complete on disk. Baseline in the same run: ImageMagick's
// `import -window root`, a command-line capture of the same screen to a PNG.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

void fakeKey(xcb_connection_t* c, uint8_t type, uint8_t keycode) {
    xcb_test_fake_input(c, type, keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
}

// Ctrl+Shift+1 (X keycodes 37, 50, 10).
void pressShortcut(xcb_connection_t* c) {
    fakeKey(c, XCB_KEY_PRESS, 37);
    fakeKey(c, XCB_KEY_PRESS, 50);
    fakeKey(c, XCB_KEY_PRESS, 10);
    fakeKey(c, XCB_KEY_RELEASE, 10);
    fakeKey(c, XCB_KEY_RELEASE, 50);
    fakeKey(c, XCB_KEY_RELEASE, 37);
    xcb_flush(c);
}

// A complete PNG: its end chunk is written.
bool completePng(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() < 12) return false;
    f.seek(f.size() - 8);
    return f.read(4) == "IEND";
}

bool waitForFiles(const QDir& dir, int count) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        if (files.size() >= count && completePng(dir.filePath(files.last()))) {
            int complete = 0;
            for (const QString& f : files) complete += completePng(dir.filePath(f));
            if (complete >= count) return true;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

void BM_HotkeyToSavedFile(benchmark::State& state) {
    QTemporaryDir home;
    const QString shots = home.filePath(QStringLiteral("shots"));
    QDir().mkpath(shots);
    QDir().mkpath(home.filePath(QStringLiteral("config/Pictro")));
    QFile conf(home.filePath(QStringLiteral("config/Pictro/Pictro.conf")));
    conf.open(QIODevice::WriteOnly);
    conf.write("[General]\nafterShow=false\nafterSave=true\nnoSplash=true\nconfirmationStyle=none\nscreenshotsFolder=" +
               QFile::encodeName(shots) + "\n");
    conf.close();

    const pid_t pid = fork();
    if (pid == 0) {
        setenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))).constData(), 1);
        setenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))).constData(), 1);
        // PICTRO_BINARY picks another build, so two builds can be compared in one run.
        const char* binary = std::getenv("PICTRO_BINARY") ? std::getenv("PICTRO_BINARY") : PICTRO_BINARY_DEFAULT;
        execl(binary, binary, static_cast<char*>(nullptr));
        _exit(127);
    }
    const QString status = home.filePath(QStringLiteral("data/Pictro/status.txt"));
    while (!QFile::exists(status)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // hotkeys registered after the status file

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const QDir dir(shots);
    double pictroTotal = 0, baselineTotal = 0;
    int n = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        pressShortcut(c);
        if (!waitForFiles(dir, ++n)) {
            state.SkipWithError("no file appeared");
            break;
        }
        const double p = std::chrono::duration<double>(Clock::now() - start).count();
        const auto b0 = Clock::now();
        const std::string cmd = "import -window root " + home.filePath(QStringLiteral("import.png")).toStdString();
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("import failed");
        const double b = std::chrono::duration<double>(Clock::now() - b0).count();
        state.SetIterationTime(p);
        pictroTotal += p;
        baselineTotal += b;
        // Saves within one second get " (2)", " (3)" names; keep going without waiting.
    }
    xcb_disconnect(c);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    const double iterations = static_cast<double>(std::max<int64_t>(state.iterations(), 1));
    state.counters["pictro_ms"] = pictroTotal / iterations * 1000.0;
    state.counters["import_ms"] = baselineTotal / iterations * 1000.0;
    state.counters["ratio_to_import"] = baselineTotal > 0 ? pictroTotal / baselineTotal : 0;
}
BENCHMARK(BM_HotkeyToSavedFile)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

} // namespace

BENCHMARK_MAIN();
