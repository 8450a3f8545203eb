#include "platform/FloatingWindows.h"

#include <QWindow>

bool FloatingWindows::grabInput(QWindow* window, bool mouseToo) {
    bool ok = window->setKeyboardGrabEnabled(true);
    if (mouseToo) ok = window->setMouseGrabEnabled(true) && ok;
    return ok;
}

FloatingTraits standardFloatingTraits(FloatingRole role) {
    switch (role) {
    case FloatingRole::selectionOverlay:
        return {Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint, false, false};
    case FloatingRole::scrollingBorder:
        return {Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                    Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus | Qt::Tool,
                true, false};
    case FloatingRole::toast:
        return {Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                    Qt::NoDropShadowWindowHint | Qt::WindowTransparentForInput,
                true, true};
    case FloatingRole::thumbnail:
        return {Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                    Qt::NoDropShadowWindowHint,
                true, true};
    // Not focusable for the window manager until the user clicks it (the pin itself toggles that).
    case FloatingRole::pin:
        return {Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                    Qt::WindowDoesNotAcceptFocus,
                true, false};
    }
    return {};
}
