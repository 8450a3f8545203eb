#include "app/PlatformChoice.h"

namespace platformchoice {

namespace {

QString displayName(const QString& backend) {
    return backend == QLatin1String("wayland") ? QStringLiteral("Wayland") : QStringLiteral("X11");
}

QString sessionBackend(const Session& session) {
    const QString type = session.sessionType.toLower();
    if (type == QLatin1String("wayland")) return QStringLiteral("wayland");
    if (type == QLatin1String("x11")) return QStringLiteral("x11");
    if (!session.waylandDisplay.isEmpty()) return QStringLiteral("wayland");
    if (!session.display.isEmpty()) return QStringLiteral("x11");
    return {};
}

} // namespace

Choice choose(const Session& session, const QStringList& built) {
    const QString requested = session.requested.trimmed().toLower();
    if (!requested.isEmpty()) {
        if (requested != QLatin1String("x11") && requested != QLatin1String("wayland"))
            return {{}, QStringLiteral("unknown platform \"%1\"; use x11 or wayland").arg(session.requested)};
        if (!built.contains(requested))
            return {{},
                    QStringLiteral("%1 support is not built into this Pictro").arg(displayName(requested))};
        return {requested, {}};
    }
    const QString wanted = sessionBackend(session);
    if (wanted.isEmpty())
        return {{}, QStringLiteral("no graphical session: neither WAYLAND_DISPLAY nor DISPLAY is set")};
    if (built.contains(wanted)) return {wanted, {}};
    if (wanted == QLatin1String("wayland"))
        return {{},
                QStringLiteral("this is a Wayland session and Wayland support is not built into this Pictro; "
                               "--platform x11 runs it through Xwayland, which sees only X11 windows")};
    return {{}, QStringLiteral("this is an X11 session and X11 support is not built into this Pictro")};
}

QByteArray qtPlatform(const QByteArray& environment, const QByteArray& backendPlatform) {
    if (environment.startsWith("offscreen") || environment.startsWith("minimal")) return environment;
    return backendPlatform;
}

} // namespace platformchoice
