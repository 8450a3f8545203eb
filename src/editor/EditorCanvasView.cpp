#include "editor/EditorCanvasView.h"

#include "editor/AnnotationRenderer.h"
#include "editor/Annotations.h"
#include "editor/BottomLeftPainter.h"
#include "editor/CanvasColors.h"
#include "editor/CanvasTextField.h"
#include "editor/CropGeometry.h"
#include "editor/EditorUndoManager.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

// The field for typing text, in view points: 220 × 26, its bottom edge 12 points below the click.
constexpr double kFieldWidth = 220;
constexpr double kFieldHeight = 26;
constexpr double kFieldDrop = 12;
constexpr double kFontSizePt = 18;

// Drafts no larger than this (pixels, both ways) are clicks, not drags, and are dropped.
constexpr double kClickSlop = 2;

int sideForWidget(double points, double magnification) {
    // A whole number a hair above its integer (100 × 0.3) must not grow the widget by a pixel.
    const double side = std::ceil(points * magnification - 1e-6);
    return static_cast<int>(std::clamp(side, 1.0, static_cast<double>(QWIDGETSIZE_MAX)));
}

} // namespace

EditorCanvasView::EditorCanvasView(const CapturedImage& image, QWidget* parent)
    : QWidget(parent), m_image(image), m_color(canvascolors::systemRed()) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(widgetSize());
    applyCursor();
}

EditorCanvasView::~EditorCanvasView() {
    // The field outlives this body (Qt deletes children later); its end of typing must not come back.
    if (m_textField) disconnect(m_textField, nullptr, this, nullptr);
}

const CapturedImage& EditorCanvasView::image() const {
    return m_image;
}

EditorTool EditorCanvasView::currentTool() const {
    return m_tool;
}

void EditorCanvasView::setCurrentTool(EditorTool tool) {
    m_tool = tool;
    applyCursor();
}

QColor EditorCanvasView::currentColor() const {
    return m_color;
}

void EditorCanvasView::setCurrentColor(const QColor& color) {
    m_color = color;
    if (!m_selected) return;
    registerUndoSnapshot();
    m_selected->color = color;
    update();
}

void EditorCanvasView::setOnStateChange(std::function<void()> callback) {
    m_onStateChange = std::move(callback);
}

void EditorCanvasView::setUndoManager(EditorUndoManager* manager) {
    m_undoManager = manager;
}

double EditorCanvasView::magnification() const {
    return m_magnification;
}

void EditorCanvasView::setMagnification(double m) {
    if (!std::isfinite(m) || m <= 0) return;
    m_magnification = m;
    resize(widgetSize());
    placeTextField();
    update();
}

QSizeF EditorCanvasView::pointSize() const {
    return m_image.pointSize();
}

QSize EditorCanvasView::sizeHint() const {
    return widgetSize();
}

CapturedImage EditorCanvasView::flattened() {
    commitTextEditing();
    std::optional<QImage> cells;
    if (hasBlur()) {
        if (const QImage* p = pixellated()) cells = *p;
    }
    return CapturedImage{AnnotationRenderer::render(m_image.image, m_annotations, cells), m_image.scale};
}

void EditorCanvasView::deleteSelection() {
    if (!m_selected) return;
    registerUndoSnapshot();
    const Annotation* doomed = m_selected.get();
    std::erase_if(m_annotations, [doomed](const auto& a) { return a.get() == doomed; });
    m_selected.reset();
    update();
}

const AnnotationList& EditorCanvasView::annotations() const {
    return m_annotations;
}

const Annotation* EditorCanvasView::selected() const {
    return m_selected.get();
}

QLineEdit* EditorCanvasView::textField() const {
    return m_textField.data();
}

// --- coordinates -------------------------------------------------------------------------------

QPointF EditorCanvasView::viewPoint(const QPointF& widgetPosition) const {
    return QPointF(widgetPosition.x() / m_magnification,
                   pointSize().height() - widgetPosition.y() / m_magnification);
}

QPointF EditorCanvasView::pixelPoint(const QPointF& viewPoint) const {
    return viewPoint * m_image.scale;
}

QSize EditorCanvasView::widgetSize() const {
    const QSizeF points = pointSize();
    return QSize(sideForWidget(points.width(), m_magnification),
                 sideForWidget(points.height(), m_magnification));
}

// --- mouse -------------------------------------------------------------------------------------

void EditorCanvasView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    commitTextEditing();
    const QPointF v = viewPoint(event->position());
    const QPointF p = pixelPoint(v);
    m_dragStartPoint = p;
    m_mouseDown = true;
    switch (m_tool) {
    case EditorTool::arrow:
    case EditorTool::line:
    case EditorTool::rect:
    case EditorTool::oval:
    case EditorTool::highlight:
    case EditorTool::pen:
    case EditorTool::blur:
        beginDrafting(p);
        break;
    case EditorTool::text:
        beginTextEditing(v, p);
        break;
    case EditorTool::counter:
        placeCounter(p);
        break;
    case EditorTool::crop:
        m_cropRect = QRectF(v, QSizeF(0, 0));
        break;
    case EditorTool::select:
        selectAt(p);
        break;
    }
}

void EditorCanvasView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_mouseDown) {
        event->ignore();
        return;
    }
    const QPointF v = viewPoint(event->position());
    dragTo(v, pixelPoint(v));
}

void EditorCanvasView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_mouseDown) {
        event->ignore();
        return;
    }
    m_mouseDown = false;
    finishDrafting();
    finishCrop();
    m_isMovingSelection = false;
}

void EditorCanvasView::beginDrafting(const QPointF& pixel) {
    const double s = m_image.scale;
    if (const auto kind = editortool::shapeKind(m_tool)) {
        auto shape = std::make_shared<ShapeAnnotation>(*kind, pixel, pixel, s);
        const bool redHighlight =
            *kind == ShapeAnnotation::Kind::highlight && canvascolors::isSystemRed(m_color);
        shape->color = redHighlight ? canvascolors::systemYellow() : m_color;
        m_drafting = shape;
    } else if (m_tool == EditorTool::pen) {
        auto pen = std::make_shared<PenAnnotation>(s);
        pen->points = {pixel};
        pen->color = m_color;
        m_drafting = pen;
    } else if (m_tool == EditorTool::blur) {
        auto blur = std::make_shared<BlurAnnotation>(s);
        blur->rect = QRectF(pixel, QSizeF(0, 0));
        blur->color = m_color;
        m_drafting = blur;
    }
    if (m_drafting) m_drafting->strokeWidthPt = 3.0;
    update();
}

void EditorCanvasView::placeCounter(const QPointF& pixel) {
    registerUndoSnapshot();
    int highest = 0;
    for (const auto& a : m_annotations)
        if (const auto* c = dynamic_cast<const CounterAnnotation*>(a.get()))
            highest = std::max(highest, c->number);
    auto counter = std::make_shared<CounterAnnotation>(m_image.scale);
    counter->center = pixel;
    counter->radiusPt = 14.0;
    counter->color = m_color;
    counter->number = highest + 1;
    m_annotations.push_back(counter);
    update();
}

void EditorCanvasView::selectAt(const QPointF& pixel) {
    const auto hit = std::find_if(m_annotations.rbegin(), m_annotations.rend(),
                                  [&pixel](const auto& a) { return a->hitTest(pixel); });
    m_selected = hit == m_annotations.rend() ? nullptr : *hit;
    m_isMovingSelection = m_selected != nullptr;
    // The step stands for the move that may follow; a click without a move still makes one.
    if (m_selected) registerUndoSnapshot();
    update();
}

void EditorCanvasView::dragTo(const QPointF& view, const QPointF& pixel) {
    switch (m_tool) {
    case EditorTool::select:
        if (!m_isMovingSelection || !m_selected) return;
        m_selected->move(pixel - m_dragStartPoint);
        m_dragStartPoint = pixel;
        break;
    case EditorTool::pen:
        if (auto* pen = dynamic_cast<PenAnnotation*>(m_drafting.get())) pen->points.append(pixel);
        break;
    case EditorTool::blur:
        if (auto* blur = dynamic_cast<BlurAnnotation*>(m_drafting.get()))
            blur->rect = QRectF(m_dragStartPoint, pixel).normalized();
        break;
    case EditorTool::crop:
        if (!m_cropRect) return;
        m_cropRect = QRectF(m_dragStartPoint / m_image.scale, view).normalized();
        break;
    case EditorTool::text:
    case EditorTool::counter:
        return;
    default:
        if (auto* shape = dynamic_cast<ShapeAnnotation*>(m_drafting.get())) shape->end = pixel;
        break;
    }
    update();
}

void EditorCanvasView::finishDrafting() {
    if (!m_drafting) return;
    const QRectF b = m_drafting->bounds();
    const bool isPen = dynamic_cast<const PenAnnotation*>(m_drafting.get()) != nullptr;
    // A pen stroke stays even as a single click; it draws nothing but the user did put it down.
    if (b.width() > kClickSlop || b.height() > kClickSlop || isPen) {
        registerUndoSnapshot();
        m_annotations.push_back(m_drafting);
    }
    m_drafting.reset();
    update();
}

void EditorCanvasView::finishCrop() {
    if (!m_cropRect) return;
    const QRectF dragged = *m_cropRect;
    // Cleared whatever the tool is now: a tool chosen mid-drag must not leave the dimming behind.
    m_cropRect.reset();
    update();
    if (m_tool != EditorTool::crop) return;
    const QRectF clamped = cropgeometry::clampToCanvas(dragged, pointSize());
    if (cropgeometry::isLargeEnough(clamped)) performCrop(clamped);
}

// --- text --------------------------------------------------------------------------------------

void EditorCanvasView::beginTextEditing(const QPointF& view, const QPointF& pixel) {
    commitTextEditing();
    auto* field = new CanvasTextField(this);
    field->setFrame(true);
    field->setPlaceholderText(QStringLiteral("Text…"));
    field->setAttribute(Qt::WA_MacShowFocusRect, false);
    field->setStyleSheet(
        QStringLiteral("QLineEdit { color: rgba(%1, %2, %3, %4); background-color: rgba(0, 0, 0, 77);"
                       " border: 1px solid rgba(255, 255, 255, 140); }")
            .arg(m_color.red())
            .arg(m_color.green())
            .arg(m_color.blue())
            .arg(m_color.alpha()));
    connect(field, &CanvasTextField::ended, this, &EditorCanvasView::commitTextEditing);
    m_textField = field;
    m_textFieldOrigin = QPointF(view.x(), view.y() - kFieldDrop);
    placeTextField();
    field->show();
    field->setFocus(Qt::OtherFocusReason);

    m_editingText = std::make_shared<TextAnnotation>(m_image.scale);
    m_editingText->origin = pixel;
    m_editingText->fontSizePt = kFontSizePt;
    m_editingText->color = m_color;
}

// The field is a child widget in Qt's top-left space, so it follows the magnification itself:
// position, size and font all scale with it.
void EditorCanvasView::placeTextField() {
    if (!m_textField) return;
    const double m = m_magnification;
    const double top = pointSize().height() - (m_textFieldOrigin.y() + kFieldHeight);
    m_textField->setGeometry(
        QRectF(m_textFieldOrigin.x() * m, top * m, kFieldWidth * m, kFieldHeight * m).toRect());
    QFont font = m_textField->font();
    font.setBold(true);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(kFontSizePt * m))));
    m_textField->setFont(font);
}

void EditorCanvasView::commitTextEditing() {
    if (!m_textField || !m_editingText) return;
    const QString text = m_textField->text().trimmed();
    CanvasTextField* field = m_textField;
    const std::shared_ptr<TextAnnotation> annotation = std::move(m_editingText);
    m_textField = nullptr;
    m_editingText.reset();
    // Hiding the field moves focus away from it; that must not come back here as another end.
    disconnect(field, nullptr, this, nullptr);
    if (field->hasFocus()) setFocus(Qt::OtherFocusReason);
    field->hide();
    field->deleteLater();
    if (!text.isEmpty()) {
        registerUndoSnapshot();
        annotation->text = text;
        m_annotations.push_back(annotation);
    }
    update();
}

// --- undo, image and crop ----------------------------------------------------------------------

EditorCanvasView::Snapshot EditorCanvasView::snapshot() const {
    Snapshot snap;
    snap.annotations.reserve(m_annotations.size());
    for (const auto& a : m_annotations)
        snap.annotations.push_back(a->copyAnnotation());
    snap.image = m_image;
    return snap;
}

void EditorCanvasView::registerUndoSnapshot() {
    if (!m_undoManager) return;
    QPointer<EditorCanvasView> self(this);
    m_undoManager->registerUndo([self, snap = snapshot()] {
        if (!self) return;
        // Putting this state back is itself undoable: undo makes the redo step and redo the undo step.
        self->registerUndoSnapshot();
        self->restore(snap);
    });
}

void EditorCanvasView::restore(const Snapshot& snap) {
    m_annotations = snap.annotations;
    const bool sameImage =
        snap.image.image.cacheKey() == m_image.image.cacheKey() && snap.image.scale == m_image.scale;
    if (!sameImage) setImage(snap.image);
    m_selected.reset();
    m_isMovingSelection = false;
    update();
    if (sameImage && m_onStateChange) m_onStateChange();
}

void EditorCanvasView::setImage(const CapturedImage& image) {
    m_image = image;
    m_pixellatedCache.reset();
    m_pixellatedTried = false;
    resize(widgetSize());
    placeTextField();
    update();
    if (m_onStateChange) m_onStateChange();
}

void EditorCanvasView::performCrop(const QRectF& viewRect) {
    const double s = m_image.scale;
    const auto cut = cropgeometry::pixelCutRect(viewRect, pointSize().height(), s, m_image.image.size());
    if (!cut) return;
    const QImage bitmap = m_image.image.copy(*cut);
    if (bitmap.isNull()) return;
    registerUndoSnapshot();
    const QPointF shift = cropgeometry::annotationShift(viewRect, s);
    for (const auto& a : m_annotations)
        a->move(shift);
    setImage(CapturedImage{bitmap, s});
}

void EditorCanvasView::applyCursor() {
    switch (m_tool) {
    case EditorTool::text:
        setCursor(Qt::IBeamCursor);
        break;
    case EditorTool::select:
        setCursor(Qt::ArrowCursor);
        break;
    default:
        setCursor(Qt::CrossCursor);
        break;
    }
}

// --- drawing -----------------------------------------------------------------------------------

bool EditorCanvasView::hasBlur() const {
    const auto isBlur = [](const Annotation* a) { return dynamic_cast<const BlurAnnotation*>(a) != nullptr; };
    return isBlur(m_drafting.get()) || std::any_of(m_annotations.begin(), m_annotations.end(),
                                                   [&](const auto& a) { return isBlur(a.get()); });
}

const QImage* EditorCanvasView::pixellated() {
    if (!m_pixellatedTried) {
        m_pixellatedTried = true;
        m_pixellatedCache = AnnotationRenderer::pixellate(m_image.image, m_image.scale);
    }
    return m_pixellatedCache ? &*m_pixellatedCache : nullptr;
}

void EditorCanvasView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF imageArea(QPointF(0, 0), pointSize() * m_magnification);
    // The widget is opaque: whatever the image leaves uncovered (see-through pixels, the fraction
    // of a pixel rounded up at the far edges) gets the window colour. A 4K fill costs milliseconds,
    // so an opaque image that covers the widget is not filled under.
    if (m_image.image.hasAlphaChannel() || imageArea.width() < width() || imageArea.height() < height())
        painter.fillRect(rect(), palette().window());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.scale(m_magnification, m_magnification);
    painter.drawImage(QRectF(QPointF(0, 0), pointSize()), m_image.image);
    drawAnnotations(painter);
    drawCropDimming(painter);
}

void EditorCanvasView::drawAnnotations(QPainter& painter) {
    if (m_annotations.empty() && !m_drafting && !m_selected) return;
    const QImage* cells = hasBlur() ? pixellated() : nullptr;
    painter.save();
    painter.scale(1.0 / m_image.scale, 1.0 / m_image.scale);
    bottomleft::begin(painter, m_image.pixelHeight());
    for (const auto& a : m_annotations)
        a->draw(painter, cells);
    if (m_drafting) m_drafting->draw(painter, cells);
    if (m_selected) drawSelectionChrome(painter, *m_selected);
    painter.restore();
}

void EditorCanvasView::drawSelectionChrome(QPainter& painter, const Annotation& around) const {
    const double s = m_image.scale;
    const double width = 1.5 * s;
    const QRectF r = around.bounds().adjusted(-4 * s, -4 * s, 4 * s, 4 * s);
    QPen pen(canvascolors::accent(), width, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    // Qt counts dashes in pen widths: 4 × s on and 3 × s off.
    pen.setDashPattern({4 * s / width, 3 * s / width});
    pen.setDashOffset(0);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(r);
    const double side = 8 * s;
    for (const QPointF& corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
        painter.fillRect(QRectF(corner - QPointF(side / 2, side / 2), QSizeF(side, side)), Qt::white);
}

void EditorCanvasView::drawCropDimming(QPainter& painter) const {
    if (!m_cropRect) return;
    const QSizeF points = pointSize();
    painter.save();
    painter.setTransform(bottomleft::flip(points.height()), true);
    QPainterPath outside;
    outside.setFillRule(Qt::OddEvenFill);
    outside.addRect(QRectF(QPointF(0, 0), points));
    outside.addRect(*m_cropRect);
    painter.fillPath(outside, QColor(0, 0, 0, qRound(0.45 * 255)));
    painter.setPen(QPen(Qt::white, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(*m_cropRect);
    painter.restore();
}
