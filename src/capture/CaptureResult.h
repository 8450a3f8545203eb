#pragma once

#include "capture/CaptureError.h"
#include "capture/CapturedImage.h"

#include <optional>

// The outcome of one capture: an image, or why there is none.
class CaptureResult {
  public:
    CaptureResult() : m_error(CaptureError::failed) {}
    CaptureResult(CapturedImage image) : m_image(std::move(image)) {}
    CaptureResult(CaptureError error) : m_error(error) {}

    bool ok() const { return m_image.has_value(); }
    // The image; only valid when ok().
    const CapturedImage& image() const { return *m_image; }
    // The error; meaningful only when !ok().
    CaptureError error() const { return m_error; }

  private:
    std::optional<CapturedImage> m_image;
    CaptureError m_error = CaptureError::failed;
};
