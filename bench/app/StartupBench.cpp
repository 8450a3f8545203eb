// Start-up time (launch until status.txt is written) and idle resident memory of the real
// program, each against a bare Qt tray application measured in the same run. Needs an X display.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::string pictroBinary() {
    const char* env = std::getenv("PICTRO_BINARY");
    return env ? env : PICTRO_BINARY_DEFAULT;
}

std::string bareTrayBinary() { return BARE_TRAY_BINARY; }

struct Launched {
    pid_t pid = -1;
    double secondsUntilReady = 0;
};

// Starts argv with private XDG folders under `home`.
pid_t spawn(const std::vector<std::string>& argv, const QString& home) {
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/config")).constData(), 1);
        setenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/data")).constData(), 1);
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    return pid;
}

// Starts `argv` with private XDG folders and waits until `marker` exists.
Launched launch(const std::vector<std::string>& argv, const QString& home, const QString& marker) {
    QFile::remove(marker);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = spawn(argv, home);
    const QByteArray path = QFile::encodeName(marker);
    while (access(path.constData(), F_OK) != 0) {
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(20)) break;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return {pid, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()};
}

void stop(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

double residentMegabytes(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

double pictroStart(const QString& home, pid_t* keep = nullptr) {
    QDir(home).removeRecursively();
    QDir().mkpath(home);
    const Launched l = launch({pictroBinary()}, home, home + QStringLiteral("/data/Pictro/status.txt"));
    if (keep)
        *keep = l.pid;
    else
        stop(l.pid);
    return l.secondsUntilReady;
}

double bareStart(const QString& home, pid_t* keep = nullptr) {
    QDir().mkpath(home);
    const QString marker = home + QStringLiteral("/bare-ready");
    const Launched l = launch({bareTrayBinary(), QFile::encodeName(marker).toStdString()}, home, marker);
    if (keep)
        *keep = l.pid;
    else
        stop(l.pid);
    return l.secondsUntilReady;
}

void BM_StartupPictroVsBareTray(benchmark::State& state) {
    QTemporaryDir dir;
    double pictroTotal = 0, bareTotal = 0;
    for (auto _ : state) {
        const double p = pictroStart(dir.filePath(QStringLiteral("p")));
        const double b = bareStart(dir.filePath(QStringLiteral("b")));
        state.SetIterationTime(p);
        pictroTotal += p;
        bareTotal += b;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["pictro_ms"] = pictroTotal / n * 1000.0;
    state.counters["bare_tray_ms"] = bareTotal / n * 1000.0;
    state.counters["ratio_to_bare"] = pictroTotal / bareTotal;
}
BENCHMARK(BM_StartupPictroVsBareTray)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

void BM_IdleMemoryAfter5s(benchmark::State& state) {
    QTemporaryDir dir;
    for (auto _ : state) {
        pid_t pictro = -1, bare = -1;
        pictroStart(dir.filePath(QStringLiteral("p")), &pictro);
        bareStart(dir.filePath(QStringLiteral("b")), &bare);
        std::this_thread::sleep_for(std::chrono::seconds(5));
        const double p = residentMegabytes(pictro);
        const double b = residentMegabytes(bare);
        stop(pictro);
        stop(bare);
        state.counters["pictro_rss_MB"] = p;
        state.counters["bare_tray_rss_MB"] = b;
        state.counters["ratio_to_bare"] = b > 0 ? p / b : 0;
    }
}
BENCHMARK(BM_IdleMemoryAfter5s)->Iterations(1)->Unit(benchmark::kSecond);

// Runs argv to completion with the given XDG folders; returns the wall time.
double runToExit(const std::vector<std::string>& argv, const QString& home) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = spawn(argv, home);
    int status = 0;
    waitpid(pid, &status, 0);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A second launch with a link hands it to the running instance and exits; the baseline is the
// same binary's shortest run (the permission report: load, connect to X, print, exit).
void BM_ForwardLinkToRunningInstance(benchmark::State& state) {
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("p"));
    pid_t running = -1;
    pictroStart(home, &running);
    double forwardTotal = 0, baselineTotal = 0;
    for (auto _ : state) {
        const double f = runToExit({pictroBinary(), "pictro://capture?type=area"}, home);
        const double b = runToExit({pictroBinary(), "--check-permissions"}, home);
        state.SetIterationTime(f);
        forwardTotal += f;
        baselineTotal += b;
    }
    stop(running);
    const double n = static_cast<double>(state.iterations());
    state.counters["forward_ms"] = forwardTotal / n * 1000.0;
    state.counters["check_permissions_ms"] = baselineTotal / n * 1000.0;
    state.counters["ratio_to_baseline"] = forwardTotal / baselineTotal;
}
BENCHMARK(BM_ForwardLinkToRunningInstance)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

BENCHMARK_MAIN();
