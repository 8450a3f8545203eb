#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The backends the desktop portal chooses from (its *.portal files) and the desktops each is made
// for. Where no backend made for the running desktop implements an interface, a portal of version
// 1.16 hands the interface to any backend that does, and another desktop's backend then answers
// without working: KDE's global shortcuts under sway accept every binding and never deliver a key.
namespace portalbackends {

struct Backend {
    QString name;           // the file's name without ".portal"
    QStringList interfaces; // org.freedesktop.impl.portal.…
    QStringList useIn;      // desktop names, as in XDG_CURRENT_DESKTOP
};

// A .portal file's [portal] group; none when it names no interfaces.
std::optional<Backend> parse(const QString& name, const QByteArray& text);

// The backend that would answer `interface` although it is made for none of `desktops`. None when
// a backend made for one of them implements it, when no backend implements it at all, or when no
// desktop is named (then nothing tells which backend is meant).
std::optional<QString> foreignProvider(const QList<Backend>& backends, const QString& interface,
                                       const QStringList& desktops);

// The same for this session: the portal's folder of backends (XDG_DESKTOP_PORTAL_DIR, or the
// system's) and the desktops of XDG_CURRENT_DESKTOP. None also where a portals.conf chooses the
// backends, since that choice, the user's or the system's, is the portal's to follow.
std::optional<QString> foreignProviderHere(const QString& interface);

} // namespace portalbackends
