#include "editor/EditorScrollView.h"

#include "editor/EditorCanvasView.h"
#include "editor/EditorWindowGeometry.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

EditorScrollView::EditorScrollView(EditorCanvasView* canvas, QWidget* parent)
    : QScrollArea(parent), m_canvas(canvas) {
    setFrameShape(QFrame::NoFrame);
    setAlignment(Qt::AlignCenter);
    setWidgetResizable(false);
    // Keys belong to the canvas; the area itself never takes the focus from it.
    setFocusPolicy(Qt::NoFocus);
    setWidget(canvas);
    m_magnification = canvas->magnification();
}

QSizeF EditorScrollView::clipSize() const {
    return QSizeF(maximumViewportSize());
}

void EditorScrollView::setMagnification(double magnification, std::optional<QPointF> anchor) {
    const double m = editorgeometry::clampMagnification(magnification);
    const QPointF viewportPoint = anchor.value_or(QRectF(viewport()->rect()).center());
    // The image point (in points) under the anchor before the change.
    const QPointF imagePoint = (viewportPoint - QPointF(m_canvas->pos())) / m_magnification;

    m_magnification = m;
    m_canvas->setMagnification(m);
    // The area lays its widget out again on the widget's resize event, which Qt holds back while
    // the window is hidden; asking for the layout now keeps the scroll ranges right either way.
    QEvent layoutRequest(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(this, &layoutRequest);
    scrollSoThat(imagePoint, viewportPoint);
    emit magnificationChanged(m);
}

void EditorScrollView::scrollSoThat(const QPointF& imagePoint, const QPointF& viewportPoint) {
    const QPointF target = imagePoint * m_magnification - viewportPoint;
    horizontalScrollBar()->setValue(static_cast<int>(std::lround(target.x())));
    verticalScrollBar()->setValue(static_cast<int>(std::lround(target.y())));
}

void EditorScrollView::wheelEvent(QWheelEvent* event) {
    const bool classicWheel = event->pixelDelta().isNull();
    const bool zooms =
        (classicWheel || event->modifiers().testFlag(Qt::ControlModifier)) && event->angleDelta().y() != 0;
    // A sideways wheel has no zoom to give and still scrolls.
    if (!zooms) {
        QScrollArea::wheelEvent(event);
        return;
    }
    const bool reverse = Settings::shared().boolValue(keys::zoomReverseScroll);
    const double d = editorgeometry::wheelDelta(event->pixelDelta(), event->angleDelta());
    const double next = editorgeometry::wheelZoom(m_magnification, d, reverse);
    setMagnification(next, event->position());
    event->accept();
}
