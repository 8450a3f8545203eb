#pragma once

#include "capture/CapturedImage.h"
#include "editor/Annotation.h"
#include "editor/EditorTool.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class CanvasTextField;
class EditorUndoManager;
class QLineEdit;
class QPainter;
class TextAnnotation;

// The editor's drawing surface: the captured image with its annotations, the tools' mouse
// handling, the text field, the selection and cropping.
//
// The canvas works in view points: origin at the bottom-left corner, y upwards, size the image's
// size in points. Annotations live in pixel points (view points × the image's scale). Qt's
// top-left widget coordinates are converted only where events arrive.
class EditorCanvasView : public QWidget {
    Q_OBJECT

  public:
    explicit EditorCanvasView(const CapturedImage& image, QWidget* parent = nullptr);
    ~EditorCanvasView() override;

    const CapturedImage& image() const;
    EditorTool currentTool() const;
    // Also updates the cursor.
    void setCurrentTool(EditorTool tool);
    QColor currentColor() const;
    // Recolours the selection, if any.
    void setCurrentColor(const QColor& color);
    // Called after a crop, an undo and a redo.
    void setOnStateChange(std::function<void()> callback);
    // Not owned; null means edits are not undoable.
    void setUndoManager(EditorUndoManager* manager);

    // The canvas keeps its size in points; a magnification m resizes the widget to points × m and
    // paints through a scale transform (never re-rendering the image), mapping events back by ÷ m.
    double magnification() const;
    void setMagnification(double m);
    QSizeF pointSize() const;

    // The image with every annotation drawn in; commits open text first.
    CapturedImage flattened();
    // Removes the selected annotation (Delete/Backspace).
    void deleteSelection();

    const AnnotationList& annotations() const;
    const Annotation* selected() const;
    // Non-null while text is typed.
    QLineEdit* textField() const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    struct Snapshot {
        AnnotationList annotations;
        CapturedImage image;
    };

    // Qt's top-left widget position → bottom-left view points.
    QPointF viewPoint(const QPointF& widgetPosition) const;
    QPointF pixelPoint(const QPointF& viewPoint) const;
    QSize widgetSize() const;

    void beginDrafting(const QPointF& pixel);
    void placeCounter(const QPointF& pixel);
    void selectAt(const QPointF& pixel);
    void dragTo(const QPointF& view, const QPointF& pixel);
    void finishDrafting();
    void finishCrop();

    void beginTextEditing(const QPointF& view, const QPointF& pixel);
    void commitTextEditing();
    void placeTextField();

    Snapshot snapshot() const;
    void registerUndoSnapshot();
    void restore(const Snapshot& snapshot);
    void setImage(const CapturedImage& image);
    void performCrop(const QRectF& viewRect);
    void applyCursor();

    bool hasBlur() const;
    const QImage* pixellated();
    void drawAnnotations(QPainter& painter);
    void drawSelectionChrome(QPainter& painter, const Annotation& around) const;
    void drawCropDimming(QPainter& painter) const;

    CapturedImage m_image;
    std::optional<QImage> m_pixellatedCache;
    bool m_pixellatedTried = false; // a failed pixellation is not retried on every repaint
    AnnotationList m_annotations;
    EditorTool m_tool = EditorTool::select;
    QColor m_color;
    std::function<void()> m_onStateChange;
    QPointer<EditorUndoManager> m_undoManager;
    double m_magnification = 1.0;
    std::shared_ptr<Annotation> m_selected;
    std::shared_ptr<Annotation> m_drafting;
    QPointF m_dragStartPoint;
    bool m_isMovingSelection = false;
    bool m_mouseDown = false;
    std::optional<QRectF> m_cropRect;
    QPointer<CanvasTextField> m_textField;
    QPointF m_textFieldOrigin; // view points: where the field's bottom-left corner sits
    std::shared_ptr<TextAnnotation> m_editingText;
};
