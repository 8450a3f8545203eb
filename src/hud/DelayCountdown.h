#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// The seconds left before a delayed capture, counted down (3, 2, 1) in a small panel in the
// middle of the screen under the pointer. The panel leaves the screen a moment before the time
// is up, so the capture taken when it calls back never shows it. One countdown at a time: a new
// one replaces a running one, whose callback is then never called.
class DelayCountdown : public QWidget {
    Q_OBJECT
  public:
    // How long before the end the panel is taken off the screen: time for the X server to unmap
    // it and for what lies beneath to be drawn again.
    static constexpr int clearMilliseconds = 250;

    // Counts `seconds` down and calls `onElapsed` once when they have passed. Main thread only.
    static DelayCountdown* start(int seconds, std::function<void()> onElapsed);
    static DelayCountdown* current();

    // The number shown now; 0 once the panel has left the screen.
    int number() const { return m_number; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    DelayCountdown(int seconds, std::function<void()> onElapsed);
    void tick();
    void elapse();
    void placeOnPointerScreen();

    int m_seconds;
    int m_number;
    std::function<void()> m_onElapsed;
    QElapsedTimer m_clock;
    QTimer m_tick;
    bool m_translucent;

    static QPointer<DelayCountdown> s_current;
};
