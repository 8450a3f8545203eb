#pragma once

#include "scrolling/ScrollDirection.h"

#include <QImage>

#include <optional>
#include <vector>

// Joins the successive frames of a scrolling capture into one tall image. Each frame is the same
// screen region after one more scroll step; only the rows it adds to the frame before are kept.
// Frames are compared through one number per pixel row (the mean grey level of a sample of the
// row), which is cheap and tolerant of small rendering differences.
class VerticalStitcher {
public:
    explicit VerticalStitcher(const QImage& firstFrame);

    // Adds a frame; false when it was rejected (another width, or nothing new) and nothing changed.
    bool append(const QImage& frame, ScrollDirection direction);

    // All slices stacked top to bottom; none when there are none or the bitmap cannot be made.
    std::optional<QImage> compose() const;

    // How many rows the content moved up from `previous` to `next` — the number of new rows at the
    // bottom of `next` — or none when the frames differ in size, are 40 rows high or less, or no
    // placement of the previous frame's bottom band fits the next frame closely enough.
    static std::optional<int> findOverlap(const QImage& previous, const QImage& next);
    // The same for either direction: for `up`, how many rows the content moved down, which is the
    // number of new rows at the top of `next`.
    static std::optional<int> findOverlap(const QImage& previous, const QImage& next, ScrollDirection direction);

    const std::vector<QImage>& slices() const { return m_slices; }
    const QImage& lastFrame() const { return m_lastFrame; }
    int width() const { return m_width; }
    int totalHeight() const { return m_totalHeight; }

private:
    void appendSlice(const QImage& frame, int newRows, ScrollDirection direction);
    static std::optional<std::vector<double>> grayRows(const QImage& image);

    std::vector<QImage> m_slices; // top to bottom in the final image
    QImage m_lastFrame;
    int m_width = 0;
    int m_totalHeight = 0;
};
