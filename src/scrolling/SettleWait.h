#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// The wait between a scroll and the next frame: over once the region has been drawn (when a change
// is awaited) and then left alone for `quietMilliseconds`, and at the latest after the longest
// wait, which covers an application that repaints nothing (the end of the page) or never stops
// (an animation). Where nothing reports changes, that is always the longest wait.
class SettleWait : public QObject {
    Q_OBJECT
  public:
    // A repaint arrives as a burst of drawing: a tiled viewer draws its tiles within a
    // millisecond, a smooth scroll animates a frame every 16 ms. A pause this long ends it.
    static constexpr int quietMilliseconds = 40;

    explicit SettleWait(std::function<void()> done);

    // Starts a wait (ending one under way without calling `done`).
    void start(int longestMilliseconds, bool awaitChange);
    // Something was drawn in the region.
    void changed();
    // How many changes were reported so far, waiting or not.
    quint64 changes() const { return m_changes; }
    bool waiting() const { return m_waiting; }

  private:
    void end();

    std::function<void()> m_done;
    QTimer m_quiet{this};
    QTimer m_longest{this};
    quint64 m_changes = 0;
    bool m_waiting = false;
    bool m_changeSeen = false;
};
