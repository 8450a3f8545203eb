#include "platform/x11/X11ScreenCapture.h"

#include "platform/x11/X11Atoms.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11FrozenScreen.h"
#include "platform/x11/X11WindowGeometry.h"

#include <xcb/composite.h>

#include <QPainter>

namespace {

bool redirectSubwindows(xcb_connection_t* c, xcb_window_t root) {
    xcb_generic_error_t* error = nullptr;
    XcbPtr<xcb_composite_query_version_reply_t> version(xcb_composite_query_version_reply(
        c, xcb_composite_query_version(c, XCB_COMPOSITE_MAJOR_VERSION, XCB_COMPOSITE_MINOR_VERSION), &error));
    std::free(error);
    // Naming a window's pixmap needs version 0.2.
    if (!version || (version->major_version == 0 && version->minor_version < 2)) return false;
    error = xcb_request_check(
        c, xcb_composite_redirect_subwindows_checked(c, root, XCB_COMPOSITE_REDIRECT_AUTOMATIC));
    const bool ok = error == nullptr;
    std::free(error);
    return ok;
}

QRect rootRect(const xcb_screen_t* screen) {
    return QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels);
}

// The pixels of a window's own off-screen pixmap, or none when it has none.
std::optional<QImage> pixmapPixels(xcb_connection_t* c, X11PixelGrabber& grabber, xcb_window_t window,
                                   const QRect& rect, uint8_t depth) {
    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    xcb_generic_error_t* error =
        xcb_request_check(c, xcb_composite_name_window_pixmap_checked(c, window, pixmap));
    if (error) {
        std::free(error);
        return std::nullopt;
    }
    auto image = grabber.grab(c, pixmap, rect, depth);
    std::free(xcb_request_check(c, xcb_free_pixmap_checked(c, pixmap)));
    if (!image || image->isNull()) return std::nullopt;
    return image;
}

// A window manager may frame a translucent (32-bit) client in an opaque frame, which flattens the
// client onto the frame's background. The server keeps such a client in a pixmap of its own
// (a child of another depth is always redirected), so its pixels, alpha and all, go back over the
// client's part of the frame.
QImage withClientAlpha(xcb_connection_t* c, X11PixelGrabber& grabber, const X11WindowPlacement& p,
                       QImage framed) {
    if (p.clientDepth != 32 || p.frameDepth == 32) return framed;
    auto client = pixmapPixels(c, grabber, p.client, QRect(QPoint(0, 0), p.clientRect.size()), 32);
    if (!client) return framed;
    QImage out = framed.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&out);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(p.clientRect.topLeft() - p.outer.topLeft(), *client);
    painter.end();
    return out;
}

} // namespace

X11ScreenCapture::X11ScreenCapture() {
    X11Connection& x = X11Connection::shared();
    if (xcb_connection_t* c = x.connection(); c && x.rootScreen())
        m_composite = redirectSubwindows(c, x.rootScreen()->root);
}

bool X11ScreenCapture::screenCaptureAllowed() const {
    return X11Connection::shared().isOpen();
}

PixelsOrError X11ScreenCapture::readDisplay(const ScreenInfo& screen) {
    X11Connection& x = X11Connection::shared();
    xcb_connection_t* c = x.connection();
    const xcb_screen_t* root = x.rootScreen();
    if (!c || !root) return CaptureFailure::denied;
    // A screen that is no longer part of the root window has gone.
    if (screen.pixelRect.isEmpty() || !rootRect(root).contains(screen.pixelRect))
        return CaptureFailure::noDisplay;
    auto image = m_grabber.grab(c, root->root, screen.pixelRect, root->root_depth);
    if (!image || image->isNull()) return CaptureFailure::failed;
    return *image;
}

std::shared_ptr<FrozenScreen> X11ScreenCapture::freezeDisplay(const ScreenInfo& screen, double dimAlpha) {
    return X11FrozenScreen::freeze(screen.pixelRect, dimAlpha);
}

PixelsOrError X11ScreenCapture::readWindow(quint32 windowID) {
    X11Connection& x = X11Connection::shared();
    xcb_connection_t* c = x.connection();
    const xcb_screen_t* root = x.rootScreen();
    if (!c || !root) return CaptureFailure::denied;
    const auto placement = x11window::placement(c, root->root, windowID);
    if (!placement || !placement->viewable || placement->outerInFrame.isEmpty())
        return CaptureFailure::noWindow;

    if (m_composite) {
        // The pixmap includes the frame's border; window coordinates start inside it.
        const QRect inPixmap =
            placement->outerInFrame.translated(placement->frameBorder, placement->frameBorder);
        if (auto image = pixmapPixels(c, m_grabber, placement->frame, inPixmap, placement->frameDepth))
            return withClientAlpha(c, m_grabber, *placement, *image);
        // The window vanished in the meantime, or its depth is not readable.
        if (!x11window::placement(c, root->root, windowID)) return CaptureFailure::noWindow;
    }
    // Without Composite only what is on screen can be read: the root's pixels under the window.
    const QRect visible = placement->outer.intersected(rootRect(root));
    if (visible.isEmpty()) return CaptureFailure::noWindow;
    auto image = m_grabber.grab(c, root->root, visible, root->root_depth);
    if (!image || image->isNull()) return CaptureFailure::failed;
    return *image;
}
