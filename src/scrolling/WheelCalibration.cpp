#include "scrolling/WheelCalibration.h"

#include <algorithm>
#include <cmath>

int WheelCalibration::clicksFor(int pixels) const {
    if (!m_pixelsPerClick || *m_pixelsPerClick <= 0 || pixels <= 0) return 1;
    // Rounded down, so a step never scrolls further than asked: past about four fifths of the
    // frame the stitcher cannot find the overlap any more.
    return std::max(1, static_cast<int>(std::floor(pixels / *m_pixelsPerClick)));
}

void WheelCalibration::observe(int clicks, int addedRows, int frameHeight) {
    if (clicks <= 0 || addedRows <= 0 || frameHeight <= 0) return;
    const double perClick = static_cast<double>(addedRows) / clicks;
    if (addedRows >= frameHeight) {
        m_pixelsPerClick = std::max(m_pixelsPerClick.value_or(0.0), perClick);
        return;
    }
    m_pixelsPerClick = perClick;
}
