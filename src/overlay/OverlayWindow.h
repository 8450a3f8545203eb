#pragma once

#include "overlay/OverlayResult.h"
#include "overlay/SelectionOverlayView.h"

#include <QPointer>
#include <QWidget>

#include <optional>
#include <vector>

class SelectionOverlay;

// A frameless window above everything, panels and full-screen windows included, covering one
// screen's whole frame and hosting that screen's view. Over a picture the window system holds,
// the window's own background is that picture, and the view draws onto the window itself instead
// of through a full-screen backing store.
class OverlayWindow : public QWidget {
    Q_OBJECT
  public:
    OverlayWindow(OverlayMode mode, const ScreenInfo& screen, OverlayPicture picture,
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
    QPaintEngine* paintEngine() const override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void tryGrab(int attemptsLeft, bool mouseToo);
    void showHeldPicture();

    SelectionOverlayView* m_view = nullptr;
    bool m_exposed = false;
};
