#include "platform/wayland/WaylandBackend.h"

#include "platform/wayland/CompositorLoss.h"
#include "platform/wayland/WaylandAccess.h"
#include "platform/wayland/WaylandPlatform.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The compositor's socket: WAYLAND_DISPLAY, a name in XDG_RUNTIME_DIR or an absolute path.
QString socketPath() {
    const QString display = qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
    if (QDir::isAbsolutePath(display)) return display;
    return QDir(qEnvironmentVariable("XDG_RUNTIME_DIR")).filePath(display);
}

} // namespace

namespace waylandbackend {

PlatformBackend describe() {
    PlatformBackend backend;
    backend.name = QStringLiteral("wayland");
    backend.qtPlatform = QByteArrayLiteral("wayland");
    backend.displayReachable = [] {
        const QFileInfo socket(socketPath());
        return socket.exists() && !socket.isFile() && !socket.isDir();
    };
    backend.unreachableMessage = [] {
        return QStringLiteral(
                   "cannot reach the Wayland compositor at \"%1\"; start Pictro inside a Wayland session")
            .arg(socketPath());
    };
    backend.create = [] {
        compositorloss::watch();
        return std::make_unique<WaylandPlatform>();
    };
    backend.accessReport = waylandaccess::report;
    return backend;
}

} // namespace waylandbackend
