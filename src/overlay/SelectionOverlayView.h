#pragma once

#include "capture/CaptureEngine.h"
#include "overlay/OverlayResult.h"

#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <optional>
#include <vector>

class SelectionOverlay;
class QPainter;

// What a view shows under its dimming: the screen's pixels, or a picture the window system holds
// (its pixels still on their way); neither for window picking over the live screen.
struct OverlayPicture {
    std::optional<CapturedImage> image;
    std::optional<FrozenDisplay> held;
    bool frozen() const { return image || held; }
};

// One screen's part of a selection: the frozen picture, the dimming with its hole, the border,
// the size readout, the guides and the window badge; it turns input into one result.
// Its own geometry is in the screen's points with the origin at the bottom-left, y upwards; Qt's
// widget coordinates are converted in the event handlers and in painting only.
//
// Over a picture the window system holds, the window's background is the dimmed picture and the
// view paints only the rest: the hole is copied from the held picture, and the few pixels of the
// border, readouts and guides are painted here, exactly as a full paint would, and sent as tiles.
class SelectionOverlayView : public QWidget {
    Q_OBJECT
  public:
    SelectionOverlayView(OverlayMode mode, const ScreenInfo& screen, OverlayPicture picture,
                         std::vector<WindowInfo> windowList, SelectionOverlay* owner,
                         QWidget* parent = nullptr);

    // How much black the dimming lays over the screen in each mode.
    static double dimAlpha(OverlayMode mode);

    OverlayMode mode() const { return m_mode; }
    const ScreenInfo& screen() const { return m_screen; }
    std::optional<QRectF> selectionRect() const;
    std::optional<QRectF> hoveredWindowRect() const;
    const std::optional<WindowInfo>& hoverWindow() const { return m_hoverWindow; }
    QPointF mousePos() const { return m_mousePos; }
    // The frozen pixels, waiting for them if they are still being read; none without a frozen
    // picture or when the read failed.
    const CapturedImage* frozenImage() const;

    // The held picture, when the view has one.
    FrozenScreen* heldPicture() const;
    // From now on paints over the held picture, which the view's window (lying exactly over the
    // screen) has as its background.
    void drawOverHeldPicture();
    // The server has just painted the background wherever the coming paint covers.
    void backgroundRepainted();
    // Paints a region of the view over the held picture (the window's expose comes through here:
    // a window painting on screen does not pass it on to its children).
    void paintOverHeld(const QRegion& region);

  protected:
    void paintEvent(QPaintEvent* event) override;
    QPaintEngine* paintEngine() const override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // What a paint over the held picture depends on, in widget pixels.
    struct Look {
        QRegion painted; // pixels painted here
        QRect hole;      // pixels the hole may show
    };

    QPointF viewPoint(const QPointF& widgetPoint) const;
    void updateHover(const QPointF& point);
    void finishWith(const OverlayResult& result);
    void repaintChanged(const Look& before);
    Look look() const;
    std::optional<QRectF> holeInWidget() const;
    void paintScene(QPainter& painter) const;
    void paintDimming(QPainter& painter) const;
    void paintSelection(QPainter& painter, const QRectF& selection) const;
    void paintGuides(QPainter& painter) const;
    void paintHover(QPainter& painter, const QRectF& hovered) const;
    void drawBubble(QPainter& painter, const QString& text, const QPointF& at, bool centred) const;
    QRectF bubbleInWidget(const QString& text, const QPointF& at, bool centred) const;

    const OverlayMode m_mode;
    const ScreenInfo m_screen;
    mutable OverlayPicture m_picture;
    const std::vector<WindowInfo> m_windowList;
    const double m_primaryMaxY;
    QPointer<SelectionOverlay> m_owner;
    bool m_overHeld = false;
    bool m_backgroundFresh = false;
    std::optional<QPointF> m_dragStart;
    std::optional<QPointF> m_dragCurrent;
    QPointF m_mousePos;
    std::optional<WindowInfo> m_hoverWindow;
};
