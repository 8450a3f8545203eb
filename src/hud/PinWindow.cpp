#include "hud/PinWindow.h"

#include "hud/FloatingWindow.h"

#include "hud/HudOutline.h"
#include "hud/HudPlacement.h"
#include "hud/HudSurface.h"
#include "hud/PinGeometry.h"
#include "hud/ToastHUD.h"
#include "hud/WindowIdentity.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/Screens.h"
#include "save/SaveService.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QThread>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdio>

std::vector<PinWindow*> PinWindow::s_pins;

namespace {

geometry::SpaceConverter currentConverter() {
    return Platform::isInstalled() ? Platform::current().screens().converter() : geometry::SpaceConverter();
}

std::optional<ScreenInfo> placementScreen() {
    if (!Platform::isInstalled()) return std::nullopt;
    return Platform::current().screens().mainOrFirstScreen();
}

bool clientPlacesWindows() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

PinWindow::PinWindow(const CapturedImage& image, std::optional<QPointF> near)
    : QWidget(nullptr), m_captured(image), m_translucent(hudsurface::compositingActive()) {
    windowidentity::setWindowIdentity(this, QStringLiteral("Pin"));
    // A plain top-level window rather than a tool window: Qt makes a parentless tool window
    // transient for the whole application, and window managers may then stack, raise or minimise
    // it together with Pictro's other windows. A pin stands on its own.
    // No NoDropShadowWindowHint, so a compositing manager that draws shadows gives the pin one.
    // Not focusable for the window manager: when the window that had the keys closes (the editor
    // that made this pin), the keys go back to where they were before, not to the pin beside it.
    // A click makes it focusable and takes the keys (see mousePressEvent); losing them makes it
    // unfocusable again. Mapped without taking the focus.
    floatingwindow::prepare(this, FloatingRole::pin);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_TranslucentBackground, m_translucent);
    setAttribute(Qt::WA_NoSystemBackground, m_translucent);

    const QSizeF size = pingeometry::windowSize(m_captured.pointSize(), m_scaleFactor);
    applyFrame(pingeometry::initialFrame(size, near, placementScreen()));
}

PinWindow::~PinWindow() {
    leaveRegistry();
}

PinWindow* PinWindow::pin(const CapturedImage& image, std::optional<QPointF> near) {
    const QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        qCWarning(lcHud, "pin refused off the main thread");
        return nullptr;
    }
    auto* window = new PinWindow(image, near);
    s_pins.push_back(window);
    window->show();
    return window;
}

const std::vector<PinWindow*>& PinWindow::pins() {
    return s_pins;
}

const CapturedImage& PinWindow::captured() const {
    return m_captured;
}

double PinWindow::scaleFactor() const {
    return m_scaleFactor;
}

void PinWindow::applyFrame(const QRectF& frame) {
    m_frame = frame;
    m_appliedGeometry = hudplacement::qtWindowGeometry(frame, currentConverter());
    setGeometry(m_appliedGeometry);
    update();
}

void PinWindow::leaveRegistry() {
    s_pins.erase(std::remove(s_pins.begin(), s_pins.end(), this), s_pins.end());
}

void PinWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRectF bounds(rect());
    hudsurface::beginRoundedSurface(p, bounds, cornerRadius, m_translucent);
    const qreal dpr = devicePixelRatioF();
    const QImage& image =
        m_displayed.at(m_captured.image, hudsurface::devicePixels(bounds.size(), dpr), dpr, true);
    if (!image.isNull()) p.drawImage(bounds, image, QRectF(image.rect()));
    p.restore();
    if (m_translucent)
        hudsurface::strokeRoundedRim(p, bounds, cornerRadius, borderWidth,
                                     QColor(255, 255, 255, static_cast<int>(std::lround(borderAlpha * 255))));
    else
        hudoutline::strokeContrastRim(p, bounds, cornerRadius);
}

void PinWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Without a compositing manager clear pixels would show black: cut the corners off instead.
    if (!m_translucent) hudsurface::applyRoundedMask(this, QRectF(rect()), cornerRadius);
}

void PinWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // Moved by a drag or by the window manager: the frame follows, keeping its exact size.
    if (pos() == m_appliedGeometry.topLeft()) return;
    m_appliedGeometry.moveTopLeft(pos());
    const QRectF moved = currentConverter().qtToBottomLeft(QRectF(m_appliedGeometry));
    m_frame.moveTopLeft(moved.topLeft());
}

void PinWindow::wheelEvent(QWheelEvent* event) {
    event->accept();
    const bool reverse = Settings::shared().boolValue(keys::zoomReverseScroll);
    const double d = pingeometry::scrollDelta(event->pixelDelta(), event->angleDelta(), reverse);
    m_scaleFactor = pingeometry::zoomedScale(m_scaleFactor, d);
    const QSizeF size = pingeometry::windowSize(m_captured.pointSize(), m_scaleFactor);
    applyFrame(pingeometry::centredOn(m_frame, size));
}

void PinWindow::takeKeys(bool take) {
    QWindow* window = windowHandle();
    if (!window) return;
    window->setFlag(Qt::WindowDoesNotAcceptFocus, !take);
    if (take) window->requestActivate();
}

void PinWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) takeKeys(false);
}

void PinWindow::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (!isActiveWindow()) takeKeys(true);
    m_dragArmed = event->button() == Qt::LeftButton;
    m_systemMoveTried = false;
    m_pressGlobal = event->globalPosition();
    m_pressWindowPos = pos();
}

void PinWindow::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!m_dragArmed || !(event->buttons() & Qt::LeftButton)) return;
    const QPointF travelled = event->globalPosition() - m_pressGlobal;
    if (travelled.isNull()) return;
    // Where a client may place its windows (X11) the pin moves itself on every motion, so it
    // follows the pointer exactly from the first one; a window manager's move would start from
    // wherever the pointer is when it takes over and lose what came before. Elsewhere only the
    // compositor can move it, and it is asked to on the first motion (on the press it would grab
    // the pointer and swallow the second click of a double click).
    if (!m_systemMoveTried && !clientPlacesWindows()) {
        m_systemMoveTried = true;
        if (QWindow* window = windowHandle(); window && window->startSystemMove()) {
            m_dragArmed = false;
            return;
        }
    }
    move(m_pressWindowPos + travelled.toPoint());
}

void PinWindow::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton) m_dragArmed = false;
}

void PinWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton) close();
}

void PinWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        close();
        return;
    }
    if (event->key() == Qt::Key_C && event->modifiers().testFlag(Qt::ControlModifier)) {
        event->accept();
        copyToClipboard();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PinWindow::copyToClipboard() {
    SaveService::shared().copyToClipboard(m_captured);
    ToastHUD::show(QStringLiteral("Copied to clipboard"), QStringLiteral("checkmark.circle.fill"),
                   ToastHUD::defaultDuration);
}

void PinWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    event->accept();
    leaveRegistry();
    deleteLater();
}
