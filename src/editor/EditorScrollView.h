#pragma once

#include <QPointF>
#include <QScrollArea>
#include <QSizeF>

#include <optional>

class EditorCanvasView;

// The scrollable, zoomable area around the editor's canvas. The canvas keeps its size in points
// and paints itself magnified; this view only chooses the magnification and keeps the part of the
// image the user is looking at in place while it changes.
//
// The wheel zooms about the pointer when it is a classic wheel (no pixel deltas) or when Ctrl is
// held; a touchpad or a precise wheel without Ctrl scrolls.
class EditorScrollView : public QScrollArea {
    Q_OBJECT
  public:
    explicit EditorScrollView(EditorCanvasView* canvas, QWidget* parent = nullptr);

    EditorCanvasView* canvas() const { return m_canvas; }

    double magnification() const { return m_magnification; }
    // Clamped to 10 %…800 %. With an anchor (a point of the viewport) the image point under it
    // stays under it; without one, the centre of the visible area stays put.
    void setMagnification(double magnification, std::optional<QPointF> anchor = std::nullopt);

    // The visible area when no scroll bar is shown, in points.
    QSizeF clipSize() const;

  signals:
    void magnificationChanged(double magnification);

  protected:
    void wheelEvent(QWheelEvent* event) override;

  private:
    void scrollSoThat(const QPointF& imagePoint, const QPointF& viewportPoint);

    EditorCanvasView* m_canvas;
    double m_magnification = 1.0;
};
