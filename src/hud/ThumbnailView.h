#pragma once

#include "hud/HudSurface.h"

#include "capture/CapturedImage.h"

#include <QWidget>

#include <functional>

class HudCloseButton;

// The thumbnail window's content and the window itself: the capture fitted inside with rounded
// corners and a faint border, a close button while the pointer is over it, and a click that
// opens the capture.
class ThumbnailView : public QWidget {
    Q_OBJECT
  public:
    using OpenHandler = std::function<void(const CapturedImage&)>;

    // `translucent`: a compositing manager shows the rounded corners; otherwise a shape mask cuts them.
    ThumbnailView(const CapturedImage& image, OpenHandler onOpen, std::function<void()> onClose,
                  bool translucent);

    static constexpr double cornerRadius = 8.0;
    static constexpr int closeInset = 4;

    const CapturedImage& image() const { return m_image; }
    HudCloseButton* closeButton() const { return m_closeButton; }
    // Where the image is drawn, in the view's coordinates.
    QRectF imageRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void closeTapped();

    CapturedImage m_image;
    OpenHandler m_onOpen;
    std::function<void()> m_onClose;
    bool m_translucent;
    HudCloseButton* m_closeButton;
    bool m_pressed = false;
    hudsurface::ScaledImageCache m_scaled;
};
