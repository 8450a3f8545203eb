#pragma once

#include "scrolling/ScrollDirection.h"

#include <QImage>

#include <optional>
#include <vector>

// Joins the successive frames of a scrolling capture into one tall image. Each frame is the same
// screen region after one more scroll step; only the rows it adds to the frame before are kept.
// Frames are compared through one number per pixel row (the mean grey level of a sample of the
// row), which is cheap and tolerant of small rendering differences; the few placements that fit
// by those numbers are then checked pixel by pixel, and the best one whose pixels agree wins.
class VerticalStitcher {
  public:
    explicit VerticalStitcher(const QImage& firstFrame);

    // What becomes of a frame whose shift cannot be measured with confidence: no placement fits
    // closely enough, or the previous frame's band is featureless and would fit anywhere.
    enum class Unmatched {
        takeWhole, // assume it is all new (the frame is appended whole)
        refuse,    // reject it, so nothing is dropped or doubled; `lastRefusedUnmatched()` says so
    };

    // Adds a frame; false when it was rejected (another width, nothing new, or refused as
    // unmatched) and nothing changed. Frames of 40 rows or less can never be matched and are taken
    // whole either way.
    bool append(const QImage& frame, ScrollDirection direction, Unmatched unmatched = Unmatched::takeWhole);
    // Whether the last rejected frame was refused for want of a confident match.
    bool lastRefusedUnmatched() const { return m_refusedUnmatched; }

    // All slices stacked top to bottom; none when there are none or the bitmap cannot be made.
    std::optional<QImage> compose() const;

    // How many rows the content moved up from `previous` to `next` — the number of new rows at the
    // bottom of `next` — or none when the frames differ in size, are 40 rows high or less, or no
    // placement of the previous frame's bottom band fits the next frame closely enough.
    static std::optional<int> findOverlap(const QImage& previous, const QImage& next);
    // The same for either direction: for `up`, how many rows the content moved down, which is the
    // number of new rows at the top of `next`.
    static std::optional<int> findOverlap(const QImage& previous, const QImage& next,
                                          ScrollDirection direction);

    const std::vector<QImage>& slices() const { return m_slices; }
    const QImage& lastFrame() const { return m_lastFrame; }
    int width() const { return m_width; }
    int totalHeight() const { return m_totalHeight; }

  private:
    void appendSlice(const QImage& frame, int newRows, ScrollDirection direction);
    // The image in a 32-bit format that rows can be read from directly.
    static QImage comparable(const QImage& image);
    static std::optional<std::vector<double>> grayRows(const QImage& pixels);
    // The overlap, and whether the band it was measured with had anything in it to match.
    struct Measure {
        std::optional<int> shift;
        bool featureless = false;
    };
    static Measure measure(const QImage& previous, const QImage& next, ScrollDirection direction);

    std::vector<QImage> m_slices; // top to bottom in the final image
    QImage m_lastFrame;
    int m_width = 0;
    int m_totalHeight = 0;
    bool m_refusedUnmatched = false;
};
