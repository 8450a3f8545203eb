#include "scrolling/ScrollingCapture.h"

#include "capture/CaptureEngine.h"
#include "hud/ToastHUD.h"
#include "overlay/SelectionOverlay.h"
#include "platform/InputSynth.h"
#include "platform/Platform.h"
#include "platform/ScreenCapture.h"
#include "platform/ScreenChanges.h"
#include "scrolling/EscapeWatch.h"
#include "scrolling/ScrollRegion.h"
#include "scrolling/ScrollStep.h"
#include "scrolling/ScrollingBorder.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <QTimer>

#include <cstdlib>

namespace {
ScrollingCapture* s_active = nullptr;

bool beginSelection(OverlayMode mode, OverlayCompletion completion) {
    if (SelectionOverlay::current()) return false;
    SelectionOverlay::begin(mode, std::move(completion));
    return true;
}
} // namespace

bool ScrollingCapture::begin(Direction direction, Finish onFinish) {
    return begin(direction, std::move(onFinish), Settings::shared(), beginSelection);
}

bool ScrollingCapture::begin(Direction direction, Finish onFinish, const Settings& settings,
                             BeginOverlay beginOverlay) {
    if (s_active || !beginOverlay) return false;
    const Settings* store = &settings;
    return beginOverlay(OverlayMode::area, [direction, onFinish = std::move(onFinish),
                                            store](const OverlayResult& r) {
        // A capture started some other way in the meantime wins; this one ends without a result.
        if (r.kind != OverlayResult::Kind::area || !start(direction, r.screen, r.rect, onFinish, *store)) {
            if (onFinish) onFinish(std::nullopt);
        }
    });
}

ScrollingCapture* ScrollingCapture::start(Direction direction, const ScreenInfo& screen, const QRectF& region,
                                          Finish onFinish, const Settings& settings) {
    if (s_active) return nullptr;
    s_active = new ScrollingCapture(direction, screen, region, std::move(onFinish), settings);
    s_active->run();
    return s_active;
}

ScrollingCapture* ScrollingCapture::active() {
    return s_active;
}

ScrollingCapture::ScrollingCapture(Direction direction, const ScreenInfo& screen, const QRectF& region,
                                   Finish onFinish, const Settings& settings)
    : m_direction(direction), m_onFinish(std::move(onFinish)), m_screen(screen), m_region(region),
      m_scale(screen.scale > 0 ? screen.scale : 1.0),
      m_maximumHeight(scrollstep::maximumHeight(settings.intValue(keys::scrollMaxHeight))),
      m_speed(settings.doubleValue(keys::scrollSpeed)),
      m_reverse(settings.boolValue(keys::scrollingReverse)) {}

ScrollingCapture::~ScrollingCapture() {
    if (s_active == this) s_active = nullptr;
}

void ScrollingCapture::run() {
    m_platform = Platform::shared();
    Platform& platform = *m_platform;
    showBorder();
    QPointer<ScrollingCapture> self(this);
    m_esc = std::make_unique<EscapeWatch>(platform.inputSynth(), platform.hotkeys(), [self] {
        if (self) self->stop();
    });
    m_esc->start();

    // Changes are watched in the pixels each frame is cut from.
    if (ScreenChanges* changes = platform.screenChanges()) {
        const QRect cut = scrollregion::frameCutRect(m_region, m_scale, m_screen.pixelRect.height());
        m_watch = changes->watch(cut.translated(m_screen.pixelRect.topLeft()), [self] {
            if (self) self->m_settle.changed();
        });
    }

    // The wheel turns whatever lies under the pointer, so the pointer goes to the region first;
    // where the pictures may show it, it waits outside the region while each frame is taken.
    const double primaryMaxY = platform.screens().primaryMaxY();
    m_pointerTarget = scrollregion::pointerTarget(m_region, m_screen.frame, primaryMaxY);
    if (platform.screenCapture().picturesMayShowPointer())
        m_pointerParking = scrollregion::parkingPoint(m_region, m_screen.frame, primaryMaxY);
    platform.inputSynth().warpPointer(m_pointerParking.value_or(m_pointerTarget));
    // A pointer that has just arrived may light up what lies under it; no change is awaited.
    m_phase = Phase::first;
    settleThenTake(scrollstep::settleMilliseconds, false);
}

void ScrollingCapture::settleThenTake(int deadline, bool awaitChange) {
    if (m_phase != Phase::retake) {
        m_stepClock.start();
        m_stepDeadline = deadline;
    }
    const int left = static_cast<int>(std::max<qint64>(0, m_stepDeadline - m_stepClock.elapsed()));
    // Without reports of changes, only the full wait is sure to cover the repaint.
    m_settle.start(left, awaitChange || !m_watch);
}

void ScrollingCapture::onSettled() {
    switch (m_phase) {
    case Phase::first:
        if (m_cancelled) {
            finish();
            return;
        }
        takeFrame();
        return;
    case Phase::retake:
        if (m_stopped) {
            finish();
            return;
        }
        takeFrame();
        return;
    case Phase::scrolled:
        afterWait();
        return;
    }
}

void ScrollingCapture::showBorder() {
    // A ring the desktop puts somewhere else than around the region would mark the wrong place,
    // and could cover the very pixels being stitched: without placement above all, none is shown.
    if (!m_platform->capabilities().has(Capability::floatingAboveAll)) return;
    const geometry::SpaceConverter converter = m_platform->screens().converter();
    const QRectF regionQt = converter.bottomLeftToQt(m_region.translated(m_screen.frame.topLeft()));
    const QRectF screenQt = converter.bottomLeftToQt(m_screen.frame);
    m_border = std::make_unique<ScrollingBorder>(
        scrollregion::borderLayout(regionQt, screenQt, ScrollingBorder::labelSize()));
    m_border->show();
}

void ScrollingCapture::takeFrame() {
    // A click on the window being scrolled may have raised it over the border.
    if (m_border) m_border->raise();
    m_changesAtTake = m_settle.changes();
    CaptureEngine::captureDisplay(m_screen).then(this, [this](const CaptureResult& r) { onFrame(r); });
}

void ScrollingCapture::onFrame(const CaptureResult& result) {
    if (!result.ok()) {
        finish();
        return;
    }
    if (drawnWhileTaken()) {
        m_phase = Phase::retake;
        settleThenTake(m_stepDeadline, false);
        return;
    }
    const QImage& shot = result.image().image;
    // A region flush with the screen's edge may round a pixel past it.
    const QRect cut = scrollregion::frameCutRect(m_region, m_scale, shot.height()).intersected(shot.rect());
    if (cut.isEmpty()) {
        finish();
        return;
    }
    const QImage frame = shot.copy(cut);
    // Stopped before the first frame, the capture still keeps that one frame.
    if (frame.isNull() || !addFrame(frame) || m_stopped) {
        finish();
        return;
    }
    postScroll();
    m_phase = Phase::scrolled;
    settleThenTake(scrollstep::waitMilliseconds(m_speed), true);
}

bool ScrollingCapture::drawnWhileTaken() {
    if (!m_watch) return false;
    // Every change the server made before the picture was read has been counted after this.
    m_watch->sync();
    // The picture may hold half of a repaint; until the step's time is up it is taken again.
    return m_settle.changes() != m_changesAtTake && m_stepClock.elapsed() < m_stepDeadline;
}

bool ScrollingCapture::addFrame(const QImage& frame) {
    m_hash = scrollstep::quickHash(frame);
    // The content has not moved for two steps.
    if (m_hash == m_previousHash && m_repeat) return false;
    m_same = m_hash == m_previousHash;
    if (!m_stitcher) {
        m_stitcher.emplace(frame);
        return true;
    }
    const int before = m_stitcher->totalHeight();
    // Applications that page or jump move by more than a frame, or onto blank space: such a frame
    // ends the capture with what is exact rather than be guessed into place.
    const bool accepted = m_stitcher->append(frame, m_direction, VerticalStitcher::Unmatched::refuse);
    updateProgress(scrollstep::progressText(m_stitcher->totalHeight(), m_scale));
    if (!accepted) {
        m_jumped = m_stitcher->lastRefusedUnmatched();
        return false;
    }
    m_calibration.observe(m_lastClicks, m_stitcher->totalHeight() - before, frame.height());
    return m_stitcher->totalHeight() < m_maximumHeight;
}

void ScrollingCapture::postScroll() {
    const int delta = scrollstep::wheelDelta(m_direction, scrollstep::distance(m_region.height()), m_reverse);
    if (delta == 0) {
        m_lastClicks = 0;
        return;
    }
    // The wanted distance is in points; what the stitcher measures is pixels.
    const int clicks = m_calibration.clicksFor(static_cast<int>(std::abs(delta) * m_scale));
    if (m_pointerParking) m_platform->inputSynth().warpPointer(m_pointerTarget);
    m_lastClicks = m_platform->inputSynth().postWheelClicks(delta < 0 ? -clicks : clicks) ? clicks : 0;
    if (m_pointerParking) m_platform->inputSynth().warpPointer(*m_pointerParking);
}

void ScrollingCapture::afterWait() {
    if (m_stopped) {
        finish();
        return;
    }
    m_previousHash = m_hash;
    m_repeat = m_same;
    if (++m_steps >= scrollstep::maximumFrames) {
        finish();
        return;
    }
    takeFrame();
}

void ScrollingCapture::updateProgress(const QString& text) {
    QPointer<ScrollingCapture> self(this);
    QTimer::singleShot(0, this, [self, text] {
        if (self && self->m_border) self->m_border->setProgress(text);
    });
}

void ScrollingCapture::finish() {
    if (m_finished) return;
    m_finished = true;
    std::optional<CapturedImage> result;
    if (!m_cancelled && m_stitcher) {
        if (const auto composed = m_stitcher->compose()) result = CapturedImage{*composed, m_scale};
    }
    Finish onFinish = std::move(m_onFinish);
    const bool jumped = m_jumped && result;
    cleanUp();
    if (onFinish) onFinish(result);
    // After the result's own handling, so this is the toast that stays in view.
    if (jumped)
        ToastHUD::show(QStringLiteral("Scrolling stopped: the page jumped"),
                       QStringLiteral("exclamationmark.triangle.fill"), ToastHUD::defaultDuration);
    deleteLater();
}

void ScrollingCapture::cleanUp() {
    m_watch.reset();
    if (m_esc) m_esc->stop();
    if (m_border) m_border->hide();
    m_border.reset();
    if (s_active == this) s_active = nullptr;
}
