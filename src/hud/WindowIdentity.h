#pragma once

#include <QString>

class QWidget;

// Every top-level window of Pictro carries the X11 class "pictro"/"Pictro" and a title naming its
// role ("Pictro Toast", "Pictro Thumbnail", …), so that window-manager rules and tests find it.
namespace windowidentity {

inline constexpr char instanceName[] = "pictro";
inline constexpr char className[] = "Pictro";

// Gives the process the X11 class. Qt's xcb platform fixes a window's WM_CLASS from the
// application name (class) and $RESOURCE_NAME or argv[0] (instance) when the process creates its
// first native window, so this must run before that; setWindowIdentity calls it.
void prepareApplication();

// Sets the role title ("Pictro " + role) on a top-level window that has no native window yet.
void setWindowIdentity(QWidget* window, const QString& role);

QString titleForRole(const QString& role);

} // namespace windowidentity
