// Command to saved file on Wayland: the real program in the session of scripts/with-wayland, a
// capture asked for from the command line (a second launch handing a link to the running
// instance), timed until the PNG is complete on disk. Baseline in the same run: grim writing the
// same output to a PNG. Skipped outside a Wayland session. Pictro takes its way to the screen as
// in use (screen copy on sway); PICTRO_WAYLAND_CAPTURE=portal measures the portal's way.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

bool completePng(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() < 12) return false;
    f.seek(f.size() - 8);
    return f.read(4) == "IEND";
}

bool waitForFiles(const QDir& dir, int count) {
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        int complete = 0;
        for (const QString& f : files)
            complete += completePng(dir.filePath(f));
        if (complete >= count) return true;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

int runToEnd(const char* program, const char* arg) {
    const pid_t pid = fork();
    if (pid == 0) {
        execlp(program, program, arg, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

void BM_CommandToSavedFile(benchmark::State& state) {
    if (!std::getenv("WAYLAND_DISPLAY")) {
        state.SkipWithError("not in a Wayland session (run under scripts/with-wayland)");
        for (auto _ : state) {
        }
        return;
    }
    QTemporaryDir home;
    const QString shots = home.filePath(QStringLiteral("shots"));
    QDir().mkpath(shots);
    QDir().mkpath(home.filePath(QStringLiteral("config/Pictro")));
    QFile conf(home.filePath(QStringLiteral("config/Pictro/Pictro.conf")));
    conf.open(QIODevice::WriteOnly);
    conf.write("[General]\nafterShow=false\nafterSave=true\nnoSplash=true\nconfirmationStyle="
               "none\nurlSchemeEnabled=true\n"
               "saveFormat=png\nscreenshotsFolder=" +
               QFile::encodeName(shots) + "\n");
    conf.close();
    setenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))).constData(), 1);
    setenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))).constData(), 1);
    unsetenv("QT_QPA_PLATFORM");

    const pid_t pid = fork();
    if (pid == 0) {
        execl(PICTRO_BINARY_DEFAULT, PICTRO_BINARY_DEFAULT, static_cast<char*>(nullptr));
        _exit(127);
    }
    const QString status = home.filePath(QStringLiteral("data/Pictro/status.txt"));
    while (!QFile::exists(status))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    const QDir dir(shots);
    const std::string grimOut = home.filePath(QStringLiteral("grim.png")).toStdString();
    double pictroTotal = 0, baselineTotal = 0;
    int n = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (runToEnd(PICTRO_BINARY_DEFAULT, "pictro://capture?type=fullscreen") != 0 ||
            !waitForFiles(dir, ++n)) {
            state.SkipWithError("no file appeared");
            break;
        }
        const double p = std::chrono::duration<double>(Clock::now() - start).count();
        const auto b0 = Clock::now();
        const std::string cmd = "grim -o HEADLESS-1 " + grimOut;
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("grim failed");
        const double b = std::chrono::duration<double>(Clock::now() - b0).count();
        state.SetIterationTime(p);
        pictroTotal += p;
        baselineTotal += b;
        // Captures closer together than the portal's same-moment window would share a picture.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    const double iterations = static_cast<double>(std::max<int64_t>(state.iterations(), 1));
    state.counters["pictro_ms"] = pictroTotal / iterations * 1000.0;
    state.counters["grim_ms"] = baselineTotal / iterations * 1000.0;
    state.counters["ratio_to_grim"] = baselineTotal > 0 ? pictroTotal / baselineTotal : 0;
}
BENCHMARK(BM_CommandToSavedFile)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

BENCHMARK_MAIN();
