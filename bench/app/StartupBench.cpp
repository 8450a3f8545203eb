// Start-up time (launch until status.txt is written, and launch until the icon is embedded in a
// real system tray, trayer) and idle resident memory of the real program, each against a bare Qt
// tray application measured in the same run, round by round. Needs an X display.
#include "support/BenchRows.h"

#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::string pictroBinary() {
    const char* env = std::getenv("PICTRO_BINARY");
    return env ? env : PICTRO_BINARY_DEFAULT;
}

std::string bareTrayBinary() {
    return BARE_TRAY_BINARY;
}

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
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
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

// The tray host's panel: the window of class "trayer" named "panel" that icons are embedded in.
class TrayPanel {
  public:
    TrayPanel() : m_c(xcb_connect(nullptr, nullptr)) {}
    ~TrayPanel() { xcb_disconnect(m_c); }
    bool find() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!m_panel && std::chrono::steady_clock::now() < deadline) {
            m_panel = search(xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root);
            if (!m_panel) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return m_panel != 0;
    }
    // Windows inside the panel: one more for every embedded icon.
    int descendants() { return count(m_panel); }

  private:
    std::vector<xcb_window_t> children(xcb_window_t w) {
        std::vector<xcb_window_t> out;
        xcb_query_tree_reply_t* r = xcb_query_tree_reply(m_c, xcb_query_tree(m_c, w), nullptr);
        if (!r) return out;
        const xcb_window_t* kids = xcb_query_tree_children(r);
        out.assign(kids, kids + xcb_query_tree_children_length(r));
        std::free(r);
        return out;
    }
    std::string property(xcb_window_t w, xcb_atom_t atom) {
        xcb_get_property_reply_t* r =
            xcb_get_property_reply(m_c, xcb_get_property(m_c, 0, w, atom, XCB_ATOM_STRING, 0, 64), nullptr);
        if (!r) return {};
        std::string v(static_cast<const char*>(xcb_get_property_value(r)),
                      size_t(xcb_get_property_value_length(r)));
        std::free(r);
        return v;
    }
    xcb_window_t search(xcb_window_t w) {
        if (property(w, XCB_ATOM_WM_NAME) == "panel" &&
            property(w, XCB_ATOM_WM_CLASS).find("trayer") != std::string::npos)
            return w;
        for (xcb_window_t c : children(w))
            if (xcb_window_t found = search(c)) return found;
        return 0;
    }
    int count(xcb_window_t w) {
        int n = 0;
        for (xcb_window_t c : children(w))
            n += 1 + count(c);
        return n;
    }
    xcb_connection_t* m_c;
    xcb_window_t m_panel = 0;
};

// Launch until the panel holds one more window, then stop and wait until the icon is gone.
double secondsUntilEmbedded(TrayPanel& panel, const std::vector<std::string>& argv, const QString& home) {
    const int before = panel.descendants();
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = spawn(argv, home);
    while (panel.descendants() <= before &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(20))
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    stop(pid);
    const auto gone = std::chrono::steady_clock::now();
    while (panel.descendants() > before && std::chrono::steady_clock::now() - gone < std::chrono::seconds(5))
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return seconds;
}

double trayRatio = 0;

void BM_StartToTrayIconVsBareTray(benchmark::State& state) {
    const pid_t trayer = fork();
    if (trayer == 0) {
        execlp("trayer", "trayer", "--edge", "top", "--align", "right", "--widthtype", "request", "--height",
               "24", static_cast<char*>(nullptr));
        _exit(127);
    }
    TrayPanel panel;
    if (!panel.find()) {
        state.SkipWithError("no tray panel");
        stop(trayer);
        return;
    }
    QTemporaryDir dir;
    std::vector<double> pictro, bare, ratios;
    for (auto _ : state) {
        const QString p = dir.filePath(QStringLiteral("p")), b = dir.filePath(QStringLiteral("b"));
        QDir(p).removeRecursively();
        QDir().mkpath(p);
        QDir().mkpath(b);
        const double tp = secondsUntilEmbedded(panel, {pictroBinary()}, p);
        const double tb = secondsUntilEmbedded(panel, {bareTrayBinary()}, b);
        state.SetIterationTime(tp);
        pictro.push_back(tp);
        bare.push_back(tb);
        ratios.push_back(tp / tb);
    }
    stop(trayer);
    trayRatio = benchrows::median(ratios);
    state.counters["pictro_ms"] = benchrows::median(pictro) * 1000.0;
    state.counters["bare_tray_ms"] = benchrows::median(bare) * 1000.0;
    state.counters["ratio_to_bare"] = trayRatio;
}
BENCHMARK(BM_StartToTrayIconVsBareTray)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

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

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (trayRatio > 0) benchrows::ratio("start -> icon embedded in the tray vs bare Qt tray", trayRatio, 1.3);
    return 0;
}
