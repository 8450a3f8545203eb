#pragma once

#include "capture/CaptureResult.h"
#include "capture/CapturedImage.h"
#include "overlay/OverlayResult.h"
#include "platform/Screens.h"
#include "scrolling/ScrollDirection.h"
#include "scrolling/SettleWait.h"
#include "scrolling/VerticalStitcher.h"
#include "scrolling/WheelCalibration.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class EscapeWatch;
class Platform;
class ScreenChangeWatch;
class ScrollingBorder;
class Settings;

// Captures content taller than the screen: the chosen region is captured, the content under it
// scrolled by a synthetic wheel turn, and each new frame stitched to the ones before, until the
// content stops moving, the image is tall enough, the frame limit is reached, or Esc or Return is
// pressed. However it ends, what was stitched so far is the result (a single frame included).
// One capture runs at a time; everything happens on the main thread and no step blocks it (the
// screen captures run on workers, the waits are timers). Where the platform reports the screen's
// changes, each wait ends as soon as the application's repaint has, and a frame during which the
// region was drawn is taken again.
class ScrollingCapture : public QObject {
    Q_OBJECT
  public:
    using Direction = ScrollDirection;
    // Called once: the stitched image, or none (nothing captured, or cancelled).
    using Finish = std::function<void(const std::optional<CapturedImage>&)>;
    // Starts an area selection; false when one is already open.
    using BeginOverlay = std::function<bool(OverlayMode, OverlayCompletion)>;

    // Opens an area selection and captures the chosen area by scrolling it. A selection that ends
    // in anything but an area calls `onFinish` with none at once. False, and nothing is called,
    // when a capture is already running or the selection could not open.
    static bool begin(Direction direction, Finish onFinish, const Settings& settings,
                      BeginOverlay beginOverlay);
    static bool begin(Direction direction, Finish onFinish);

    // Runs over a region already chosen (points, origin at the screen's bottom-left corner); what
    // `begin` does once the selection is done. None when a capture is already running.
    static ScrollingCapture* start(Direction direction, const ScreenInfo& screen, const QRectF& region,
                                   Finish onFinish, const Settings& settings);

    // The running capture, none when idle.
    static ScrollingCapture* active();

    // What Esc and Return do: ends the capture with what has been stitched so far. Both take
    // effect when the current wait or capture ends.
    void stop() { m_stopped = true; }
    // Ends the capture without a result.
    void cancel() {
        m_stopped = true;
        m_cancelled = true;
    }
    Direction direction() const { return m_direction; }
    ScrollingBorder* borderWindow() const { return m_border.get(); }

    ~ScrollingCapture() override;

  private:
    ScrollingCapture(Direction direction, const ScreenInfo& screen, const QRectF& region, Finish onFinish,
                     const Settings& settings);

    void run();
    void showBorder();
    void takeFrame();
    void onFrame(const CaptureResult& result);
    // False when the frame ends the capture.
    bool addFrame(const QImage& frame);
    void postScroll();
    // Waits for the region to settle, then takes the next frame; the step ends by `deadline` ms
    // of the step's clock whatever the region does.
    void settleThenTake(int deadline, bool awaitChange);
    void onSettled();
    // Whether the region was drawn while the last frame was being read, with time left to retake it.
    bool drawnWhileTaken();
    void afterWait();
    void updateProgress(const QString& text);
    void finish();
    void cleanUp();

    Direction m_direction;
    Finish m_onFinish;
    bool m_stopped = false;
    bool m_cancelled = false;
    bool m_finished = false;
    // Held for the whole run, which spans many waits: the Esc watch and every wheel step use its
    // services. Declared before the watch, so it outlives it.
    std::shared_ptr<Platform> m_platform;
    std::unique_ptr<EscapeWatch> m_esc;
    std::unique_ptr<ScrollingBorder> m_border;
    std::unique_ptr<ScreenChangeWatch> m_watch;
    // What the wait under way leads to: the first frame, the frame after a scroll, or a retake.
    enum class Phase { first, scrolled, retake };
    Phase m_phase = Phase::first;
    SettleWait m_settle{[this] { onSettled(); }};
    QElapsedTimer m_stepClock; // since the step's scroll (or the pointer's move)
    int m_stepDeadline = 0;    // ms of the step's clock after which a frame is taken as it is
    quint64 m_changesAtTake = 0;

    ScreenInfo m_screen;
    QRectF m_region;
    double m_scale = 1.0;
    qint64 m_maximumHeight = 0;
    double m_speed = 0;
    bool m_reverse = false;
    std::optional<VerticalStitcher> m_stitcher;
    WheelCalibration m_calibration;
    int m_lastClicks = 0;
    int m_steps = 0;
    quint64 m_previousHash = 0;
    quint64 m_hash = 0;
    bool m_repeat = false;
    bool m_same = false;
    bool m_jumped = false;                   // stopped at a frame whose shift could not be measured
    QPointF m_pointerTarget;                 // over the region: where the wheel turns
    std::optional<QPointF> m_pointerParking; // out of the pictures, where they may show the pointer
};
