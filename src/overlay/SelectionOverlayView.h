#pragma once

#include "overlay/OverlayResult.h"

#include <QPointer>
#include <QWidget>

#include <optional>
#include <vector>

class SelectionOverlay;
class QPainter;

// One screen's part of a selection: the frozen picture, the dimming with its hole, the border,
// the size readout, the guides and the window badge; it turns input into one result.
// Its own geometry is in the screen's points with the origin at the bottom-left, y upwards; Qt's
// widget coordinates are converted in the event handlers and in painting only.
class SelectionOverlayView : public QWidget {
    Q_OBJECT
  public:
    SelectionOverlayView(OverlayMode mode, const ScreenInfo& screen, std::optional<CapturedImage> frozen,
                         std::vector<WindowInfo> windowList, SelectionOverlay* owner,
                         QWidget* parent = nullptr);

    OverlayMode mode() const { return m_mode; }
    const ScreenInfo& screen() const { return m_screen; }
    std::optional<QRectF> selectionRect() const;
    std::optional<QRectF> hoveredWindowRect() const;
    const std::optional<WindowInfo>& hoverWindow() const { return m_hoverWindow; }
    QPointF mousePos() const { return m_mousePos; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QPointF viewPoint(const QPointF& widgetPoint) const;
    void updateHover(const QPointF& point);
    void finishWith(const OverlayResult& result);
    void paintDimming(QPainter& painter) const;
    void paintSelection(QPainter& painter, const QRectF& selection) const;
    void paintGuides(QPainter& painter) const;
    void paintHover(QPainter& painter, const QRectF& hovered) const;
    void drawSizeLabel(QPainter& painter, const QRectF& selection) const;
    void drawBubble(QPainter& painter, const QString& text, const QPointF& at, bool centred) const;

    const OverlayMode m_mode;
    const ScreenInfo m_screen;
    const std::optional<CapturedImage> m_frozen;
    const std::vector<WindowInfo> m_windowList;
    const double m_primaryMaxY;
    QPointer<SelectionOverlay> m_owner;
    std::optional<QPointF> m_dragStart;
    std::optional<QPointF> m_dragCurrent;
    QPointF m_mousePos;
    std::optional<WindowInfo> m_hoverWindow;
};
