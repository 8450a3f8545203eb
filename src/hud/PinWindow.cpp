#include "hud/PinWindow.h"

std::vector<PinWindow*> PinWindow::s_pins;

PinWindow::PinWindow(const CapturedImage& image, std::optional<QPointF> near)
    : m_captured(image)
{
    Q_UNUSED(near);
}

PinWindow* PinWindow::pin(const CapturedImage& image, std::optional<QPointF> near)
{
    auto* window = new PinWindow(image, near);
    s_pins.push_back(window);
    window->show();
    return window;
}

const std::vector<PinWindow*>& PinWindow::pins()
{
    return s_pins;
}

const CapturedImage& PinWindow::captured() const
{
    return m_captured;
}

double PinWindow::scaleFactor() const
{
    return m_scaleFactor;
}
