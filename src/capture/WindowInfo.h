#pragma once

#include <QRectF>
#include <QString>

// One on-screen window a user could mean.
struct WindowInfo {
    quint32 windowID = 0; // the X window (the client window, not its frame)
    QRectF frameCG;       // outer frame, decorations included; top-left space, points
    QString title;
    QString ownerName;
    qint32 pid = 0;

    // The same frame in the bottom-left space, through the primary screen's frame maxY.
    QRectF frameAppKit(double primaryMaxY) const;

    bool operator==(const WindowInfo&) const = default;
};
