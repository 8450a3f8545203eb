#include "app/PlatformLoader.h"

#include "app/PlatformChoice.h"

#include <QtGlobal>

#include <cstring>

namespace platformloader {

QString takePlatformOption(int& argc, char** argv) {
    QString requested;
    int out = 1;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--platform") == 0 && i + 1 < argc) {
            requested = QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        if (std::strncmp(arg, "--platform=", 11) == 0) {
            requested = QString::fromLocal8Bit(arg + 11);
            continue;
        }
        argv[out++] = argv[i];
    }
    argc = out;
    argv[argc] = nullptr;
    return requested;
}

Selection select(const QString& requested) {
    platformchoice::Session session;
    session.requested = requested.isEmpty() ? qEnvironmentVariable("PICTRO_PLATFORM") : requested;
    session.sessionType = qEnvironmentVariable("XDG_SESSION_TYPE");
    session.waylandDisplay = qEnvironmentVariable("WAYLAND_DISPLAY");
    session.display = qEnvironmentVariable("DISPLAY");
    const platformchoice::Choice choice = platformchoice::choose(session, PlatformBackends::names());
    if (choice.backend.isEmpty()) return {nullptr, choice.error};
    return {PlatformBackends::find(choice.backend), {}};
}

void prepareQtPlatform(const PlatformBackend& backend) {
    qputenv("QT_QPA_PLATFORM", platformchoice::qtPlatform(qgetenv("QT_QPA_PLATFORM"), backend.qtPlatform));
}

} // namespace platformloader
