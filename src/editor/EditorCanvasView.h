#pragma once

#include "capture/CapturedImage.h"
#include "editor/Annotation.h"
#include "editor/EditorTool.h"

#include <QColor>
#include <QSizeF>
#include <QWidget>

#include <functional>

class EditorUndoManager;
class QLineEdit;

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

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CapturedImage m_image;
    EditorTool m_tool = EditorTool::arrow;
    QColor m_color;
    std::function<void()> m_onStateChange;
    EditorUndoManager* m_undoManager = nullptr;
    double m_magnification = 1.0;
    AnnotationList m_annotations;
    std::shared_ptr<Annotation> m_selected;
    QLineEdit* m_textField = nullptr;
};
