#include "platform/wayland/WaylandAccess.h"

#include "platform/wayland/PortalGlobalShortcuts.h"
#include "platform/wayland/PortalScreenshot.h"
#include "platform/wayland/WaylandDataControl.h"
#include "platform/wayland/WaylandScreenCapture.h"
#include "platform/wayland/WaylandScreencopy.h"
#include "platform/wayland/WaylandVirtualPointer.h"

#include <QDBusConnection>

namespace waylandaccess {
namespace {

QString screenCapture(const QDBusConnection& bus) {
    if (WaylandScreenCapture::wayFromEnvironment() == WaylandScreenCapture::Way::screencopyWhereOffered &&
        WaylandScreencopy::connect())
        return QStringLiteral("screen-capture: granted (the compositor's screen copy)");
    if (PortalScreenshot::version(bus) > 0)
        return QStringLiteral("screen-capture: through the desktop portal's Screenshot, which may ask "
                              "at the first capture");
    return QStringLiteral("screen-capture: NOT available (the compositor offers no screen copy and the "
                          "session has no screenshot portal: install xdg-desktop-portal and the "
                          "desktop's portal backend)");
}

QString syntheticInput() {
    if (WaylandVirtualPointer::connect())
        return QStringLiteral("synthetic-input: granted (the compositor's virtual pointer: scrolling "
                              "capture works)");
    return QStringLiteral("synthetic-input: NOT available (the compositor offers no virtual pointer: "
                          "scrolling capture is off)");
}

QString globalShortcuts(const QDBusConnection& bus) {
    if (const auto foreign = PortalGlobalShortcuts::foreignBackend())
        return QStringLiteral(
                   "global-shortcuts: NOT offered (the portal's would come from %1.portal, made for "
                   "another desktop, and bind nothing here): bind keys to \"pictro --action NAME\" "
                   "in the compositor's configuration")
            .arg(*foreign);
    if (PortalGlobalShortcuts::version(bus) > 0)
        return QStringLiteral("global-shortcuts: through the desktop portal's GlobalShortcuts (the "
                              "desktop's shortcut settings choose the keys)");
    return QStringLiteral("global-shortcuts: NOT offered (no shortcut portal): bind keys to \"pictro "
                          "--action NAME\" in the compositor's configuration (sway: bindsym)");
}

QString clipboard() {
    if (WaylandDataControl::connect())
        return QStringLiteral("clipboard: granted (the compositor's clipboard control: copies reach "
                              "the clipboard without a Pictro window)");
    return QStringLiteral("clipboard: through a Pictro window that takes the focus for a moment (the "
                          "compositor offers no clipboard control)");
}

} // namespace

QStringList report() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return {screenCapture(bus), syntheticInput(), globalShortcuts(bus), clipboard()};
}

} // namespace waylandaccess
