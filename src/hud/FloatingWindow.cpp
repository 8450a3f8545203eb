#include "hud/FloatingWindow.h"

#include "platform/Platform.h"
#include "platform/WindowServer.h"

#include <QWidget>
#include <QWindow>

namespace floatingwindow {

namespace {
FloatingWindows* installed() {
    return Platform::isInstalled() ? &Platform::current().floatingWindows() : nullptr;
}
} // namespace

void prepare(QWidget* window, FloatingRole role) {
    FloatingWindows* platform = installed();
    const FloatingTraits traits = platform ? platform->traits(role) : standardFloatingTraits(role);
    window->setWindowFlags(traits.flags);
    window->setAttribute(Qt::WA_ShowWithoutActivating, traits.showWithoutActivating);
    window->setAttribute(Qt::WA_X11DoNotAcceptFocus, traits.neverFocused);
    if (traits.neverFocused) window->setFocusPolicy(Qt::NoFocus);
}

bool grabInput(QWidget* window, bool mouseToo) {
    QWindow* handle = window->windowHandle();
    if (!handle) return false;
    if (FloatingWindows* platform = installed()) return platform->grabInput(handle, mouseToo);
    return false;
}

bool translucencyAvailable() {
    return Platform::isInstalled() && Platform::current().windowServer().compositingManagerRunning();
}

} // namespace floatingwindow
