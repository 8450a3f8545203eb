#include "platform/x11/X11Backend.h"

#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Platform.h"

namespace x11backend {

PlatformBackend describe() {
    PlatformBackend backend;
    backend.name = QStringLiteral("x11");
    backend.qtPlatform = QByteArrayLiteral("xcb");
    backend.displayReachable = [] { return X11Connection::serverReachable(); };
    backend.unreachableMessage = [] {
        return QStringLiteral("cannot connect to the X display \"%1\"; start Pictro inside an X11 session")
            .arg(QString::fromLocal8Bit(qgetenv("DISPLAY")));
    };
    backend.create = [] { return std::make_unique<X11Platform>(); };
    return backend;
}

} // namespace x11backend
