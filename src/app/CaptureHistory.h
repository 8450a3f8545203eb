#pragma once

#include "capture/CapturedImage.h"

#include <optional>

// The last image the program captured or opened: what "Reopen Pictro" shows again. Owned by the
// application controller, handed to the flows that produce images.
class CaptureHistory {
public:
    const std::optional<CapturedImage>& last() const { return m_last; }
    void record(const CapturedImage& image) { m_last = image; }

private:
    std::optional<CapturedImage> m_last;
};
