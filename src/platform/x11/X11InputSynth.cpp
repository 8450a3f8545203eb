#include "platform/x11/X11InputSynth.h"

#include "platform/KeyCodeTable.h"
#include "platform/Screens.h"
#include "platform/x11/X11Atoms.h"
#include "platform/x11/X11Connection.h"

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cmath>
#include <cstdlib>

namespace {

// A top-left point in root pixels, through the screen that holds it (each screen maps its frame
// onto its own pixel rectangle with its own scale); one pixel per point when no screen holds it.
QPoint rootPixel(const QPointF& topLeftPoint, const std::vector<ScreenInfo>& screens, double primaryMaxY) {
    for (const ScreenInfo& s : screens) {
        const QRectF frame = geometry::bottomLeftToTopLeft(s.frame, primaryMaxY);
        if (!geometry::containsHalfOpen(frame, topLeftPoint) || s.pixelRect.isEmpty()) continue;
        const QPointF offset = (topLeftPoint - frame.topLeft()) * s.scale;
        return s.pixelRect.topLeft() +
               QPoint(static_cast<int>(std::floor(offset.x())), static_cast<int>(std::floor(offset.y())));
    }
    return QPoint(static_cast<int>(std::floor(topLeftPoint.x())),
                  static_cast<int>(std::floor(topLeftPoint.y())));
}

// Waits until the server has handled everything sent so far, so that what follows (a capture, a
// wait) starts after the input took place.
void sync(xcb_connection_t* c) {
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

} // namespace

bool X11InputSynth::accessibilityTrusted() const {
    return X11Connection::shared().isOpen();
}

void X11InputSynth::warpPointer(const QPointF& topLeftPoint) {
    X11Connection& x = X11Connection::shared();
    xcb_connection_t* c = x.connection();
    if (!c) return;
    const QPoint p = rootPixel(topLeftPoint, m_screens.screens(), m_screens.primaryMaxY());
    xcb_warp_pointer(c, XCB_NONE, x.rootScreen()->root, 0, 0, 0, 0, static_cast<int16_t>(p.x()),
                     static_cast<int16_t>(p.y()));
    sync(c);
}

bool X11InputSynth::postWheelClicks(int clicks) {
    xcb_connection_t* c = X11Connection::shared().connection();
    if (!c || clicks == 0) return false;
    const uint8_t button = clicks > 0 ? 4 : 5;
    for (int i = 0; i < std::abs(clicks); ++i) {
        xcb_test_fake_input(c, XCB_BUTTON_PRESS, button, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(c, XCB_BUTTON_RELEASE, button, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    }
    sync(c);
    return true;
}

bool X11InputSynth::keyIsDown(quint32 keyCode) const {
    xcb_connection_t* c = X11Connection::shared().connection();
    const auto xKey = keycodes::toXKeycode(keyCode);
    if (!c || !xKey || *xKey > 255) return false;
    // The keymap is the server's logical key state, which a passive grab of the key leaves intact.
    XcbPtr<xcb_query_keymap_reply_t> keymap(xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr));
    if (!keymap) return false;
    return (keymap->keys[*xKey / 8] >> (*xKey % 8)) & 1;
}
