#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

class X11Platform;

// What the tests against a real X server share: the platform, real input through xdotool, and
// looks at the screen and the window manager's lists from outside the program under test.
namespace x11test {

// How long the first window of a test program may take to show: it waits for fonts and theme to
// load, which on a loaded machine takes many seconds.
constexpr int firstWindowMs = 20000;

// Installs the X11 platform the first time and returns it; the same one for the whole program.
X11Platform& installX11Platform();

// Runs xdotool with these arguments; its standard output, trimmed.
QString xdotool(const QStringList& args);
// Runs xdotool; whether it succeeded (a search that finds nothing does not).
bool xdotoolSucceeds(const QStringList& args);
void movePointer(const QPoint& global);
// The window the window manager calls active; 0 when there is none.
quint64 activeWindow();
// Client windows bottom to top, as the window manager stacks them.
std::vector<quint64> stacking();
// True when both windows are stacked and `upper` is above `lower`.
bool stackedAbove(quint64 upper, quint64 lower);
// The named properties of a window as xprop prints them.
QString windowProperties(quint64 window, const QStringList& names);

// Whether the window manager lists this client in _NET_CLIENT_LIST.
bool inClientList(quint32 client);
// The window manager's frame (the client's ancestor just below the root), in root pixels.
QRect frameRectOf(quint32 client);
// The client window alone, in root pixels.
QRect clientRectOf(quint32 client);

// One pixel of the screen as it is now.
QColor rootPixel(const QPoint& at);
// The root window's pixels, read by an independent tool (ImageMagick's import).
QImage rootByImport();
// Same pixels, whatever the two images' formats and metadata.
bool samePixels(const QImage& a, const QImage& b);

} // namespace x11test
