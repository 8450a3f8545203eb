#include "app/SessionNotices.h"

namespace sessionnotices {

namespace {
bool onWayland(const QString& backend) {
    return backend == QLatin1String("wayland");
}
} // namespace

QString sessionName(const QString& backend) {
    return onWayland(backend) ? QStringLiteral("Wayland") : QStringLiteral("X11");
}

Notice screenRefused(const QString& backend) {
    if (onWayland(backend))
        return {QStringLiteral("Cannot read the screen — the desktop refused the screenshot"),
                QStringLiteral(
                    "Pictro reads the screen through the desktop's screenshot portal, and the desktop "
                    "refused it. Some desktops ask once whether an application may take screenshots: "
                    "allow Pictro in the desktop's privacy or screen-sharing settings and try again.")};
    // X11 has no permission page: explain what keeps the screen from being read instead.
    return {QStringLiteral("Cannot read the screen — Pictro needs an X11 session"),
            QStringLiteral(
                "Pictro reads the screen through the X server of your session. If this desktop runs on "
                "Wayland or the X server refuses access, start Pictro inside an X11 session.")};
}

QString screenUnavailable(const QString& backend) {
    if (onWayland(backend))
        return QStringLiteral(
            "Cannot read the screen — the desktop's screenshot portal is missing or does not answer");
    return QStringLiteral("Cannot read the screen — the X server does not answer");
}

QString syntheticInputMissing(const QString& backend) {
    if (onWayland(backend))
        return QStringLiteral("Scrolling capture needs the desktop's permission to scroll other windows");
    return QStringLiteral("Scrolling capture needs synthetic input (XTest) on an X11 display");
}

} // namespace sessionnotices
