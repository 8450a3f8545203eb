#pragma once

#include "app/CaptureFlows.h"
#include "app/CaptureSource.h"
#include "capture/CaptureError.h"
#include "capture/CaptureResult.h"
#include "capture/WindowInfo.h"
#include "overlay/OverlayResult.h"

#include <QImage>
#include <QObject>

#include <functional>
#include <memory>

class CaptureHistory;
class EventLog;
class Settings;
class Platform;

// The capture flows: each obtains an image (engine, overlay, file, clipboard), converts it where
// needed and hands it to result handling, or ends in an error toast or in silence.
class AppCaptureFlows : public QObject, public CaptureFlows {
    Q_OBJECT
  public:
    // Starts a selection; false when one is already open.
    using BeginOverlay = std::function<bool(OverlayMode, OverlayCompletion)>;

    // The history and the log belong to the application controller; the platform is shared, so a
    // flow that waits (for pixels, for recognition) keeps it alive.
    AppCaptureFlows(CaptureHistory& history, EventLog& log, Settings& settings,
                    std::shared_ptr<Platform> platform, BeginOverlay beginOverlay, QObject* parent = nullptr);

    void captureFullscreen() override;
    void captureDelayed() override;
    void captureArea() override;
    void repeatAreaCapture() override;
    void captureActiveWindow() override;
    void captureAnyWindow() override;
    void startScrolling(bool upwards) override;
    void instantTextRecognition() override;
    void openFile() override;
    void loadClipboard() override;
    void showApp() override;

    // Opens an image from outside (file, clipboard) in the editor; after-capture settings do not apply.
    void openInEditor(const QImage& image);
    void captureWindow(const WindowInfo& window);
    // Everything a flow produces ends here.
    void handleResult(const CapturedImage& image, CaptureSource source);

  private:
    void captureScreen(const ScreenInfo& screen);
    void onAreaSelected(const OverlayResult& result);
    // True when the desktop can run the action; otherwise says why in a toast.
    bool available(HotkeyAction action) const;

    CaptureHistory& m_history;
    EventLog& m_log;
    Settings& m_settings;
    std::shared_ptr<Platform> m_platform;
    BeginOverlay m_beginOverlay;
};

// The fixed reactions to a failed capture.
namespace AppServices {
void handleCaptureError(CaptureError error);
}
