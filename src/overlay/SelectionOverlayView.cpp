#include "overlay/SelectionOverlayView.h"

#include "platform/TimingMarks.h"

#include "overlay/OverlayGeometry.h"
#include "overlay/SelectionOverlay.h"
#include "platform/Platform.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

namespace og = overlaygeometry;

namespace {
constexpr double areaDimAlpha = 0.4;
constexpr double pickDimAlpha = 0.25;
constexpr double selectionLineWidth = 1.5;
constexpr double hoverLineWidth = 2.5;
constexpr double guideAlpha = 0.7;
constexpr double bubbleAlpha = 0.75;
constexpr double bubbleRadius = 5;
constexpr int bubbleFontSize = 12;

QColor accentColor() {
    return QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
}

QFont bubbleFont() {
    // Fixed-width digits keep the readout from jittering while the size changes.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(bubbleFontSize);
    font.setWeight(QFont::Medium);
    return font;
}
} // namespace

SelectionOverlayView::SelectionOverlayView(OverlayMode mode, const ScreenInfo& screen,
                                           std::optional<CapturedImage> frozen,
                                           std::vector<WindowInfo> windowList, SelectionOverlay* owner,
                                           QWidget* parent)
    : QWidget(parent), m_mode(mode), m_screen(screen), m_frozen(std::move(frozen)),
      m_windowList(std::move(windowList)), m_primaryMaxY(Platform::current().screens().primaryMaxY()),
      m_owner(owner) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent, m_frozen.has_value());
    resize(m_screen.frame.size().toSize());
}

std::optional<QRectF> SelectionOverlayView::selectionRect() const {
    if (!m_dragStart || !m_dragCurrent) return std::nullopt;
    return og::selectionRect(*m_dragStart, *m_dragCurrent);
}

std::optional<QRectF> SelectionOverlayView::hoveredWindowRect() const {
    if (m_mode != OverlayMode::windowPick || !m_hoverWindow) return std::nullopt;
    return og::windowRectInView(*m_hoverWindow, m_screen, m_primaryMaxY);
}

QPointF SelectionOverlayView::viewPoint(const QPointF& widgetPoint) const {
    return og::widgetToView(widgetPoint, height());
}

void SelectionOverlayView::updateHover(const QPointF& point) {
    m_hoverWindow = og::windowAt(point, m_screen, m_windowList, m_primaryMaxY);
}

void SelectionOverlayView::finishWith(const OverlayResult& result) {
    if (m_owner) m_owner->finish(result);
}

void SelectionOverlayView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF point = viewPoint(event->position());
    m_mousePos = point;
    if (m_mode == OverlayMode::windowPick) {
        updateHover(point);
    } else if (m_dragStart && (event->buttons() & Qt::LeftButton)) {
        m_dragCurrent = point;
    }
    update();
}

void SelectionOverlayView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_mode != OverlayMode::area) return;
    const QPointF point = viewPoint(event->position());
    m_mousePos = point;
    m_dragStart = point;
    m_dragCurrent = point;
    update();
}

void SelectionOverlayView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_owner) return;
    if (m_mode == OverlayMode::windowPick) {
        // The release position decides, in case no move arrived since the last hover.
        updateHover(viewPoint(event->position()));
        finishWith(m_hoverWindow ? OverlayResult::picked(*m_hoverWindow) : OverlayResult::cancelled());
        return;
    }
    if (m_dragStart) m_dragCurrent = viewPoint(event->position());
    const std::optional<QRectF> selection = selectionRect();
    if (selection && og::isUsableSelection(*selection) && m_frozen) {
        finishWith(OverlayResult::area(m_screen, *m_frozen, *selection));
    } else {
        finishWith(OverlayResult::cancelled());
    }
}

void SelectionOverlayView::keyPressEvent(QKeyEvent* event) {
    // Every other key is swallowed so that nothing reaches the windows underneath.
    if (event->key() == Qt::Key_Escape) finishWith(OverlayResult::cancelled());
    event->accept();
}

void SelectionOverlayView::paintEvent(QPaintEvent*) {
    timingmarks::mark("overlay: paint");
    QPainter painter(this);
    if (!painter.isActive()) return;
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_frozen) {
        painter.drawImage(QRectF(rect()), m_frozen->image);
    } else {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    paintDimming(painter);
    if (const auto selection = selectionRect()) {
        paintSelection(painter, *selection);
    } else if (m_mode == OverlayMode::area) {
        paintGuides(painter);
    }
    if (const auto hovered = hoveredWindowRect()) paintHover(painter, *hovered);
}

void SelectionOverlayView::paintDimming(QPainter& painter) const {
    QColor dim(Qt::black);
    dim.setAlphaF(m_mode == OverlayMode::area ? areaDimAlpha : pickDimAlpha);
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addRect(QRectF(rect()));
    if (const auto selection = selectionRect()) {
        path.addRect(og::viewToWidget(*selection, height()));
    } else if (const auto hovered = hoveredWindowRect()) {
        path.addRect(og::viewToWidget(*hovered, height()));
    }
    painter.fillPath(path, dim);
}

void SelectionOverlayView::paintSelection(QPainter& painter, const QRectF& selection) const {
    // Grown by half the line width so the line lies just outside the selected pixels.
    const double half = selectionLineWidth / 2;
    const QRectF border = selection.adjusted(-half, -half, half, half);
    painter.setPen(QPen(accentColor(), selectionLineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(og::viewToWidget(border, height()));
    drawSizeLabel(painter, selection);
}

void SelectionOverlayView::paintGuides(QPainter& painter) const {
    QColor guide(Qt::white);
    guide.setAlphaF(guideAlpha);
    painter.setPen(QPen(guide, 1));
    const QPointF at = og::viewToWidget(m_mousePos, height());
    painter.drawLine(QPointF(at.x(), 0), QPointF(at.x(), height()));
    painter.drawLine(QPointF(0, at.y()), QPointF(width(), at.y()));
}

void SelectionOverlayView::paintHover(QPainter& painter, const QRectF& hovered) const {
    painter.setPen(QPen(accentColor(), hoverLineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(og::viewToWidget(hovered.adjusted(1, 1, -1, -1), height()));
    if (m_hoverWindow) drawBubble(painter, og::badgeText(*m_hoverWindow), og::badgeOrigin(hovered), true);
}

void SelectionOverlayView::drawSizeLabel(QPainter& painter, const QRectF& selection) const {
    drawBubble(painter, og::sizeLabelText(selection), og::sizeLabelOrigin(selection, size()), false);
}

void SelectionOverlayView::drawBubble(QPainter& painter, const QString& text, const QPointF& at,
                                      bool centred) const {
    const QFont font = bubbleFont();
    const QFontMetricsF metrics(font);
    const QSizeF textSize(metrics.horizontalAdvance(text), metrics.height());
    const QPointF origin = centred ? og::centredBubbleOrigin(at, textSize.width()) : at;
    QColor background(Qt::black);
    background.setAlphaF(bubbleAlpha);
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(og::viewToWidget(og::bubbleRect(origin, textSize), height()), bubbleRadius,
                            bubbleRadius);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(og::viewToWidget(QRectF(origin, textSize), height()), Qt::AlignLeft | Qt::AlignVCenter,
                     text);
}
