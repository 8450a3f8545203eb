#pragma once

#include "overlay/OverlayResult.h"

#include <QPointer>
#include <QWidget>

#include <optional>
#include <vector>

class SelectionOverlay;
class SelectionOverlayView;

// A frameless window above everything, panels and full-screen windows included, covering one
// screen's whole frame and hosting that screen's view.
class OverlayWindow : public QWidget {
    Q_OBJECT
  public:
    OverlayWindow(OverlayMode mode, const ScreenInfo& screen, std::optional<CapturedImage> frozen,
                  std::vector<WindowInfo> windowList, SelectionOverlay* owner, bool translucent);

    SelectionOverlayView* view() const { return m_view; }
    bool isExposed() const { return m_exposed; }

    // Takes the keyboard (and the mouse) so that Esc works at once although another application
    // was active. The server refuses while another grab is held (the hotkey's own key may still
    // be down), so this retries for a while.
    void takeInput(bool mouseToo);

  signals:
    void exposed();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void tryGrab(int attemptsLeft, bool mouseToo);

    SelectionOverlayView* m_view = nullptr;
    bool m_exposed = false;
};
