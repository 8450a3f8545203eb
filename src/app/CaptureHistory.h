#pragma once

#include "capture/CapturedImage.h"
#include "capture/CompactImage.h"

#include <QObject>
#include <QTimer>

#include <optional>

// The last image the program captured or opened: what "Reopen Pictro" shows again. Owned by the
// application controller, handed to the flows that produce images.
//
// A screen's worth of pixels held for a reopen that may never come would keep the program tens of
// megabytes larger after every 4K capture, so once the image has been the last one for a while it
// is kept deflated (CompactImage), off the main thread, and inflated again when it is asked for.
class CaptureHistory {
  public:
    static constexpr int defaultCompactAfterMs = 2000;

    explicit CaptureHistory(int compactAfterMs = defaultCompactAfterMs);

    std::optional<CapturedImage> last() const;
    void record(const CapturedImage& image);

  private:
    void compact();

    std::optional<CapturedImage> m_last;     // as recorded, until compacted
    std::optional<CompactImage> m_compacted; // the same image deflated, afterwards
    double m_compactedScale = 1.0;
    quint64 m_generation = 0;
    QObject m_context; // continuations of compactions end with the history
    QTimer m_idle;
};
