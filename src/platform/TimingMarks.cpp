#include "platform/TimingMarks.h"

#include <QElapsedTimer>

#include <ctime>
#include <fstream>
#include <string>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcTiming, "pictro.timing", QtInfoMsg)

namespace timingmarks {
namespace {

// Milliseconds since the process was started, from its start time in /proc (clock ticks since
// boot) and the boot-based clock now: marks made before main are still counted from the exec.
double msSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::string rest = text.substr(close + 2);
    // Fields after the command: state is field 3; starttime is field 22.
    size_t pos = 0;
    for (int field = 3; field < 22 && pos != std::string::npos; ++field)
        pos = rest.find(' ', pos) + 1;
    const double ticks = std::stod(rest.substr(pos));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return (now.tv_sec + now.tv_nsec / 1e9) * 1e3 - ticks * 1e3 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

} // namespace

void mark(const char* what) {
    if (!lcTiming().isDebugEnabled()) return;
    static const double startMs = msSinceProcessStart();
    static QElapsedTimer sinceFirst;
    static qint64 lastNs = 0;
    if (!sinceFirst.isValid()) sinceFirst.start();
    const qint64 ns = sinceFirst.nsecsElapsed();
    qCDebug(lcTiming, "timing %-28s %8.1f ms since start  +%.1f ms", what, startMs + ns / 1e6,
            (ns - lastNs) / 1e6);
    lastNs = ns;
}

} // namespace timingmarks
