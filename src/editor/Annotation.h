#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>

#include <memory>
#include <vector>

class QPainter;

// Something drawn over an image in the editor. Geometry is in image pixels with the origin at the
// image's bottom-left corner and y upwards; sizes the user thinks of in points are stored in points
// and multiplied by uiScale (the image's pixels per point) when drawn or hit-tested.
//
// Annotations are shared by identity between the canvas's list, its selection and its undo
// snapshots, so they live in shared_ptrs and are compared by pointer.
class Annotation : public std::enable_shared_from_this<Annotation> {
  public:
    explicit Annotation(double uiScale);
    Annotation(const Annotation&) = default;
    Annotation& operator=(const Annotation&) = delete;
    virtual ~Annotation() = default;

    // The system red, the colour every annotation starts with.
    static QColor defaultColor();

    QColor color = defaultColor();
    double strokeWidthPt = 3.0;

    double uiScale() const { return m_uiScale; }
    // Stroke width in pixels.
    double strokeWidth() const { return strokeWidthPt * m_uiScale; }
    // How far outside its outline a click still picks an annotation, in pixels.
    double hitTolerance() const { return 8.0 * m_uiScale; }

    virtual QRectF bounds() const;
    // Draws into a painter whose user space is bottom-left image pixels (see bottomleft::begin).
    // `pixellated` is the pixellated copy of the whole base image, or null.
    virtual void draw(QPainter& painter, const QImage* pixellated) const;
    virtual bool hitTest(const QPointF& point) const;
    virtual void move(const QPointF& by);
    // An independent copy for undo snapshots.
    virtual std::shared_ptr<Annotation> copyAnnotation() const;

  private:
    double m_uiScale;
};

using AnnotationList = std::vector<std::shared_ptr<Annotation>>;

// Distance from p to the segment a–b.
double distanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b);
