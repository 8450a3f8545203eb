#pragma once

#include <optional>

// Turns a wanted scroll distance into wheel notches. How far one notch moves the content is the
// application's own choice (a few lines of text, a fraction of the view, …), so the first step
// turns the wheel by a single notch and every later step uses what the stitcher measured the
// steps before to have moved.
class WheelCalibration {
  public:
    // Notches (at least 1) for a distance in pixels; 1 until something has been measured.
    int clicksFor(int pixels) const;

    // What a step of `clicks` notches did: `addedRows` new rows in a frame `frameHeight` rows high.
    // A frame taken whole (addedRows equal to the height) matched nothing, so the content moved at
    // least that far: the estimate grows to keep the next step within reach of the matcher.
    void observe(int clicks, int addedRows, int frameHeight);

    std::optional<double> pixelsPerClick() const { return m_pixelsPerClick; }

  private:
    std::optional<double> m_pixelsPerClick;
};
