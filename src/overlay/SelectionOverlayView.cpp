#include "overlay/SelectionOverlayView.h"

#include "overlay/OverlayGeometry.h"
#include "overlay/SelectionOverlay.h"
#include "platform/FrozenScreen.h"
#include "platform/Platform.h"
#include "platform/TimingMarks.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QTimer>

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

SelectionOverlayView::SelectionOverlayView(OverlayMode mode, const ScreenInfo& screen, OverlayPicture picture,
                                           std::vector<WindowInfo> windowList, SelectionOverlay* owner,
                                           QWidget* parent)
    : QWidget(parent), m_mode(mode), m_screen(screen), m_picture(std::move(picture)),
      m_windowList(std::move(windowList)), m_primaryMaxY(Platform::current().screens().primaryMaxY()),
      m_owner(owner) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent, m_picture.frozen());
    resize(m_screen.frame.size().toSize());
}

double SelectionOverlayView::dimAlpha(OverlayMode mode) {
    return mode == OverlayMode::area ? areaDimAlpha : pickDimAlpha;
}

const CapturedImage* SelectionOverlayView::frozenImage() const {
    if (!m_picture.image && m_picture.held) {
        QFuture<CaptureResult> pixels = m_picture.held->pixels;
        pixels.waitForFinished();
        if (pixels.resultCount() > 0 && pixels.result().ok()) m_picture.image = pixels.result().image();
    }
    return m_picture.image ? &*m_picture.image : nullptr;
}

FrozenScreen* SelectionOverlayView::heldPicture() const {
    return m_picture.held ? m_picture.held->held.get() : nullptr;
}

void SelectionOverlayView::drawOverHeldPicture() {
    m_overHeld = heldPicture() != nullptr;
    // Not opaque, so that the window's own paint covers the view and brings its exposes here.
    setAttribute(Qt::WA_OpaquePaintEvent, !m_overHeld);
}

QPaintEngine* SelectionOverlayView::paintEngine() const {
    return m_overHeld ? nullptr : QWidget::paintEngine();
}

void SelectionOverlayView::backgroundRepainted() {
    m_backgroundFresh = true;
    // Only for the paint this expose causes at once.
    QTimer::singleShot(0, this, [this] { m_backgroundFresh = false; });
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

void SelectionOverlayView::repaintChanged(const Look& before) {
    if (!m_overHeld) {
        update();
        return;
    }
    const Look after = look();
    // Through the window, which paints on screen: a child of it is not repainted on its own.
    const QRegion changed = before.painted + after.painted + (QRegion(before.hole) ^ QRegion(after.hole));
    window()->update(changed.translated(mapTo(window(), QPoint())));
}

void SelectionOverlayView::mouseMoveEvent(QMouseEvent* event) {
    const Look before = look();
    const QPointF point = viewPoint(event->position());
    m_mousePos = point;
    if (m_mode == OverlayMode::windowPick) {
        updateHover(point);
    } else if (m_dragStart && (event->buttons() & Qt::LeftButton)) {
        m_dragCurrent = point;
    }
    repaintChanged(before);
}

void SelectionOverlayView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_mode != OverlayMode::area) return;
    const Look before = look();
    const QPointF point = viewPoint(event->position());
    m_mousePos = point;
    m_dragStart = point;
    m_dragCurrent = point;
    repaintChanged(before);
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
    const CapturedImage* frozen = selection && og::isUsableSelection(*selection) ? frozenImage() : nullptr;
    if (frozen) {
        finishWith(OverlayResult::area(m_screen, *frozen, *selection));
    } else {
        finishWith(OverlayResult::cancelled());
    }
}

void SelectionOverlayView::keyPressEvent(QKeyEvent* event) {
    // Every other key is swallowed so that nothing reaches the windows underneath.
    if (event->key() == Qt::Key_Escape) finishWith(OverlayResult::cancelled());
    event->accept();
}

void SelectionOverlayView::paintEvent(QPaintEvent* event) {
    timingmarks::mark("overlay: paint");
    if (m_overHeld) {
        paintOverHeld(event->region());
        return;
    }
    QPainter painter(this);
    if (!painter.isActive()) return;
    paintScene(painter);
}

std::optional<QRectF> SelectionOverlayView::holeInWidget() const {
    if (const auto selection = selectionRect()) return og::viewToWidget(*selection, height());
    if (const auto hovered = hoveredWindowRect()) return og::viewToWidget(*hovered, height());
    return std::nullopt;
}

SelectionOverlayView::Look SelectionOverlayView::look() const {
    Look look;
    const auto hole = holeInWidget();
    if (hole) {
        look.hole = hole->toAlignedRect();
        look.painted += og::edgePixels(*hole);
    }
    if (const auto selection = selectionRect()) {
        const double half = selectionLineWidth / 2;
        look.painted += og::strokeBand(
            og::viewToWidget(selection->adjusted(-half, -half, half, half), height()), selectionLineWidth);
        look.painted += og::pixelsTouched(
            bubbleInWidget(og::sizeLabelText(*selection), og::sizeLabelOrigin(*selection, size()), false));
    } else if (m_mode == OverlayMode::area) {
        const QPointF at = og::viewToWidget(m_mousePos, height());
        look.painted += og::pixelsTouched(QRectF(at.x(), 0, 0, height()));
        look.painted += og::pixelsTouched(QRectF(0, at.y(), width(), 0));
    }
    if (const auto hovered = hoveredWindowRect()) {
        look.painted +=
            og::strokeBand(og::viewToWidget(hovered->adjusted(1, 1, -1, -1), height()), hoverLineWidth);
        if (m_hoverWindow)
            look.painted += og::pixelsTouched(
                bubbleInWidget(og::badgeText(*m_hoverWindow), og::badgeOrigin(*hovered), true));
    }
    look.painted &= rect();
    return look;
}

void SelectionOverlayView::paintOverHeld(const QRegion& region) {
    if (!m_overHeld) return;
    timingmarks::mark("overlay: paint over the held picture");
    const Look now = look();
    const QRegion painted = region & now.painted;
    const QRegion rest = region - painted;
    const auto hole = holeInWidget();
    const QRegion clear = hole ? rest & og::pixelsInside(*hole) : QRegion();
    // The background the server has just painted on an expose is the dimmed picture already.
    const QRegion dimmed = m_backgroundFresh ? QRegion() : rest - clear;
    m_backgroundFresh = false;
    std::vector<FrozenScreen::Tile> tiles;
    for (const QRect& r : painted) {
        QImage tile(r.size(), QImage::Format_RGB32);
        QPainter painter(&tile);
        painter.translate(-r.topLeft());
        painter.setClipRect(r);
        paintScene(painter);
        painter.end();
        tiles.push_back({mapTo(window(), r.topLeft()), std::move(tile)});
    }
    heldPicture()->draw(window()->winId(), clear.translated(mapTo(window(), QPoint())),
                        dimmed.translated(mapTo(window(), QPoint())), tiles);
}

void SelectionOverlayView::paintScene(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_picture.frozen()) {
        if (const CapturedImage* frozen = frozenImage()) {
            painter.drawImage(QRectF(rect()), frozen->image);
        } else {
            painter.fillRect(rect(), Qt::black);
        }
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
    dim.setAlphaF(dimAlpha(m_mode));
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addRect(QRectF(rect()));
    if (const auto hole = holeInWidget()) path.addRect(*hole);
    painter.fillPath(path, dim);
}

void SelectionOverlayView::paintSelection(QPainter& painter, const QRectF& selection) const {
    // Grown by half the line width so the line lies just outside the selected pixels.
    const double half = selectionLineWidth / 2;
    const QRectF border = selection.adjusted(-half, -half, half, half);
    painter.setPen(QPen(accentColor(), selectionLineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(og::viewToWidget(border, height()));
    drawBubble(painter, og::sizeLabelText(selection), og::sizeLabelOrigin(selection, size()), false);
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

QRectF SelectionOverlayView::bubbleInWidget(const QString& text, const QPointF& at, bool centred) const {
    const QFontMetricsF metrics(bubbleFont());
    const QSizeF textSize(metrics.horizontalAdvance(text), metrics.height());
    const QPointF origin = centred ? og::centredBubbleOrigin(at, textSize.width()) : at;
    return og::viewToWidget(og::bubbleRect(origin, textSize), height());
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
    painter.drawRoundedRect(bubbleInWidget(text, at, centred), bubbleRadius, bubbleRadius);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(og::viewToWidget(QRectF(origin, textSize), height()), Qt::AlignLeft | Qt::AlignVCenter,
                     text);
}
