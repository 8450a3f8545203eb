#include "platform/wayland/WaylandDesktop.h"

#include <QCoreApplication>
#include <QDesktopServices>

qint32 WaylandWindowServer::ownPid() const {
    return static_cast<qint32>(QCoreApplication::applicationPid());
}

bool WaylandWorkspace::openURL(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}
