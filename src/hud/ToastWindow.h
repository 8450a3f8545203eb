#pragma once

#include "hud/ToastLayout.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QPropertyAnimation;
class QTimer;

// One toast on screen: the dark rounded panel with its icon and text. It never takes focus and
// lets every click through to the window beneath.
class ToastWindow : public QWidget {
    Q_OBJECT
  public:
    // `translucent` draws over a compositing manager's live backdrop (with a soft shadow around
    // the panel); otherwise the panel is opaque and clipped to its rounded shape.
    ToastWindow(const QString& message, const QString& symbol, bool translucent);

    const QString& message() const { return m_message; }
    const QString& symbol() const { return m_symbol; }
    const toastlayout::Layout& layout() const { return m_layout; }
    bool isFading() const { return m_fading; }
    bool hasIcon() const { return !m_layout.iconRect.isEmpty(); }

    // Space around the panel that holds its shadow; the panel's own frame is the window's
    // geometry shrunk by this much.
    int shadowMargin() const { return m_shadowMargin; }
    // Positions the window so that the panel takes `panelGeometry` (Qt global coordinates).
    void placePanel(const QRect& panelGeometry);
    QRect panelGeometry() const;

    // After `seconds`, fades out over 0.35 s, hides, and calls `done`. Calling it again restarts.
    void scheduleFadeOut(double seconds, std::function<void()> done);
    // Hides at once: no fade; a pending or running fade is dropped and its `done` never called.
    void dismissNow();

    static constexpr int fadeMilliseconds = 350;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void startFade();
    void finishFade();
    QRectF panelRect() const;

    QString m_message;
    QString m_symbol;
    bool m_translucent;
    int m_shadowMargin;
    toastlayout::Layout m_layout;
    QImage m_shadow;
    QTimer* m_hideTimer;
    QPointer<QPropertyAnimation> m_fade;
    std::function<void()> m_done;
    bool m_fading = false;
};
