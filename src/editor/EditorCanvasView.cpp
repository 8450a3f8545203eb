#include "editor/EditorCanvasView.h"

#include "editor/CanvasColors.h"
#include "editor/EditorUndoManager.h"

#include <QLineEdit>

EditorCanvasView::EditorCanvasView(const CapturedImage& image, QWidget* parent)
    : QWidget(parent), m_image(image), m_color(canvascolors::systemRed()) {}
EditorCanvasView::~EditorCanvasView() = default;

const CapturedImage& EditorCanvasView::image() const { return m_image; }
EditorTool EditorCanvasView::currentTool() const { return m_tool; }
void EditorCanvasView::setCurrentTool(EditorTool tool) { m_tool = tool; }
QColor EditorCanvasView::currentColor() const { return m_color; }
void EditorCanvasView::setCurrentColor(const QColor& color) { m_color = color; }
void EditorCanvasView::setOnStateChange(std::function<void()> callback) { m_onStateChange = std::move(callback); }
void EditorCanvasView::setUndoManager(EditorUndoManager* manager) { m_undoManager = manager; }
double EditorCanvasView::magnification() const { return m_magnification; }
void EditorCanvasView::setMagnification(double m) { m_magnification = m; }
QSizeF EditorCanvasView::pointSize() const { return m_image.pointSize(); }
CapturedImage EditorCanvasView::flattened() { return m_image; }
void EditorCanvasView::deleteSelection() {}
const AnnotationList& EditorCanvasView::annotations() const { return m_annotations; }
const Annotation* EditorCanvasView::selected() const { return m_selected.get(); }
QLineEdit* EditorCanvasView::textField() const { return m_textField; }
void EditorCanvasView::paintEvent(QPaintEvent*) {}
void EditorCanvasView::mousePressEvent(QMouseEvent*) {}
void EditorCanvasView::mouseMoveEvent(QMouseEvent*) {}
void EditorCanvasView::mouseReleaseEvent(QMouseEvent*) {}
