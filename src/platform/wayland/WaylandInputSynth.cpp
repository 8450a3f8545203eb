#include "platform/wayland/WaylandInputSynth.h"

#include "platform/wayland/WaylandVirtualPointer.h"

#include <QGuiApplication>
#include <QScreen>

WaylandInputSynth::WaylandInputSynth(std::function<void()> afterInput)
    : m_afterInput(std::move(afterInput)) {}
WaylandInputSynth::~WaylandInputSynth() = default;

WaylandVirtualPointer* WaylandInputSynth::pointer() const {
    if (!m_looked) {
        m_looked = true;
        m_pointer = WaylandVirtualPointer::connect();
    }
    return m_pointer.get();
}

bool WaylandInputSynth::canPost() const {
    return pointer() != nullptr;
}

void WaylandInputSynth::warpPointer(const QPointF& topLeftPoint) {
    WaylandVirtualPointer* p = pointer();
    if (!p) return;
    // Qt's screen geometries are the compositor's layout, in the same logical pixels.
    QRect layout;
    for (const QScreen* screen : QGuiApplication::screens())
        layout = layout.united(screen->geometry());
    p->moveTo(topLeftPoint.toPoint(), layout);
    if (m_afterInput) m_afterInput();
}

bool WaylandInputSynth::postWheelClicks(int clicks) {
    WaylandVirtualPointer* p = pointer();
    if (!p) return false;
    p->turnWheel(clicks);
    if (m_afterInput) m_afterInput();
    return true;
}
