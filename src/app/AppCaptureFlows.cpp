#include "app/AppCaptureFlows.h"

#include "app/ActionAvailability.h"
#include "app/CaptureGeometry.h"
#include "app/CaptureHistory.h"
#include "app/EventLog.h"
#include "app/ResultHandling.h"
#include "app/SessionNotices.h"
#include "capture/CaptureEngine.h"
#include "editor/EditorWindowController.h"
#include "hud/DelayCountdown.h"
#include "hud/ProgressToast.h"
#include "hud/ThumbnailHUD.h"
#include "hud/ToastHUD.h"
#include "ocr/OCRFeedback.h"
#include "ocr/OCRService.h"
#include "platform/InputSynth.h"
#include "platform/Pasteboard.h"
#include "platform/Platform.h"
#include "platform/TimingMarks.h"
#include "preferences/PreferencesWindowController.h"
#include "save/ImageEncoding.h"
#include "save/SaveService.h"
#include "scrolling/ScrollingCapture.h"
#include "settings/Settings.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <memory>

namespace {

// Opened images carry their density; it is read with the point the writer uses, so every image
// Pictro wrote reopens at the scale it was written with.
double densityScale(const QImage& image) {
    return capturegeometry::openedImageScale(image.width(),
                                             image.width() / imageencoding::scaleFromDensity(image));
}

QString openFileFilter() {
    const QList<QPair<QByteArray, QString>> kinds = {
        {"png", "*.png"}, {"jpeg", "*.jpg *.jpeg"}, {"tiff", "*.tif *.tiff"}, {"heic", "*.heic *.heif"},
        {"gif", "*.gif"}, {"bmp", "*.bmp"},         {"webp", "*.webp"}};
    const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    QStringList patterns;
    for (const auto& [format, pattern] : kinds)
        if (readable.contains(format) || (format == "heic" && readable.contains("heif"))) patterns << pattern;
    return QStringLiteral("Images (%1)").arg(patterns.join(QLatin1Char(' ')));
}

} // namespace

namespace AppServices {
void handleCaptureError(CaptureError error) {
    switch (error) {
    case CaptureError::cancelled:
        return;
    case CaptureError::permission: {
        const sessionnotices::Notice notice =
            sessionnotices::screenRefused(Platform::isInstalled() ? Platform::current().name() : QString());
        ToastHUD::show(notice.toast, QStringLiteral("exclamationmark.shield.fill"), 5.0);
        auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Pictro"),
                                    QStringLiteral("Pictro could not read the screen."), QMessageBox::Ok);
        box->setInformativeText(notice.detail);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
        return;
    }
    case CaptureError::unavailable:
        ToastHUD::show(sessionnotices::screenUnavailable(Platform::isInstalled() ? Platform::current().name()
                                                                                 : QString()),
                       QStringLiteral("exclamationmark.triangle.fill"), 4.0);
        return;
    default:
        ToastHUD::show(QStringLiteral("Capture failed"), QStringLiteral("exclamationmark.triangle.fill"),
                       2.2);
    }
}
} // namespace AppServices

AppCaptureFlows::AppCaptureFlows(CaptureHistory& history, EventLog& log, Settings& settings,
                                 std::shared_ptr<Platform> platform, BeginOverlay beginOverlay,
                                 QObject* parent)
    : QObject(parent), m_history(history), m_log(log), m_settings(settings), m_platform(std::move(platform)),
      m_beginOverlay(std::move(beginOverlay)) {}

bool AppCaptureFlows::available(HotkeyAction action) const {
    const QString reason = actionavailability::unavailableReason(action, m_platform->capabilities());
    if (reason.isEmpty()) return true;
    ToastHUD::show(reason, QStringLiteral("exclamationmark.triangle.fill"), 4.0);
    return false;
}

void AppCaptureFlows::captureFullscreen() {
    const Screens& screens = m_platform->screens();
    const auto main = screens.mainScreen();
    // Where the desktop keeps the pointer to itself, the main screen is the one meant.
    const auto screen =
        m_platform->capabilities().has(Capability::pointerLocation)
            ? capturegeometry::screenUnderMouse(screens.screens(), screens.mouseLocation(), main)
            : screens.mainOrFirstScreen();
    if (screen) captureScreen(*screen);
}

void AppCaptureFlows::captureScreen(const ScreenInfo& screen) {
    timingmarks::mark("full screen: requested");
    CaptureEngine::captureDisplay(screen).then(this, [this](const CaptureResult& r) {
        timingmarks::mark("full screen: captured");
        if (r.ok())
            handleResult(r.image(), CaptureSource::fullscreen);
        else
            AppServices::handleCaptureError(r.error());
    });
}

void AppCaptureFlows::captureDelayed() {
    // The countdown keeps the time and is off the screen before it calls back.
    QPointer<AppCaptureFlows> self(this);
    DelayCountdown::start(3, [self] {
        if (self) self->captureFullscreen();
    });
}

void AppCaptureFlows::captureArea() {
    if (!m_beginOverlay) return;
    QPointer<AppCaptureFlows> self(this);
    m_beginOverlay(OverlayMode::area, [self](const OverlayResult& result) {
        if (self && result.kind == OverlayResult::Kind::area) self->onAreaSelected(result);
    });
}

void AppCaptureFlows::onAreaSelected(const OverlayResult& result) {
    const CapturedImage& frozen = result.frozen;
    const QRect crop = capturegeometry::cropRect(result.rect, frozen.scale, frozen.pixelHeight());
    const auto clipped = capturegeometry::clippedCrop(crop, frozen.image.size());
    if (!clipped) return;
    m_settings.setLastAreaRect(result.rect.translated(result.screen.frame.topLeft()));
    handleResult(CapturedImage{frozen.image.copy(*clipped), frozen.scale}, CaptureSource::area);
}

void AppCaptureFlows::repeatAreaCapture() {
    const auto stored = m_settings.lastAreaRect();
    if (!stored) {
        ToastHUD::show(QStringLiteral("No previous area — use Capture Area first"),
                       QStringLiteral("rectangle.dashed"), 2.2);
        captureArea();
        return;
    }
    const auto target = capturegeometry::repeatTarget(m_platform->screens().screens(), *stored);
    if (!target) return;
    const QRectF rect = target->rectInScreen;
    CaptureEngine::captureDisplay(target->screen).then(this, [this, rect](const CaptureResult& r) {
        if (!r.ok()) {
            AppServices::handleCaptureError(r.error());
            return;
        }
        const CapturedImage& shot = r.image();
        const auto clipped = capturegeometry::clippedCrop(
            capturegeometry::cropRect(rect, shot.scale, shot.pixelHeight()), shot.image.size());
        if (clipped) handleResult(CapturedImage{shot.image.copy(*clipped), shot.scale}, CaptureSource::area);
    });
}

void AppCaptureFlows::captureActiveWindow() {
    if (!available(HotkeyAction::activeWindow)) return;
    const auto window = CaptureEngine::frontmostWindow();
    if (!window) {
        ToastHUD::show(QStringLiteral("No window found"), QStringLiteral("macwindow"), 2.2);
        return;
    }
    captureWindow(*window);
}

void AppCaptureFlows::captureAnyWindow() {
    if (!m_beginOverlay || !available(HotkeyAction::anyWindow)) return;
    QPointer<AppCaptureFlows> self(this);
    m_beginOverlay(OverlayMode::windowPick, [self](const OverlayResult& result) {
        if (self && result.kind == OverlayResult::Kind::window) self->captureWindow(result.window);
    });
}

void AppCaptureFlows::captureWindow(const WindowInfo& window) {
    CaptureEngine::captureWindow(window.windowID).then(this, [this, window](const CaptureResult& r) {
        if (!r.ok()) {
            AppServices::handleCaptureError(r.error());
            return;
        }
        const auto screen = CaptureEngine::screenContaining(window.frameCG);
        const CapturedImage composed =
            CaptureEngine::composeWindowShot(r.image(), m_settings.windowBGStyle(), screen);
        handleResult(composed, CaptureSource::window);
    });
}

void AppCaptureFlows::startScrolling(bool upwards) {
    if (ScrollingCapture::active() || !available(HotkeyAction::scrolling)) return;
    InputSynth& input = m_platform->inputSynth();
    if (!input.accessibilityTrusted()) {
        input.requestAccessibilityTrust();
        ToastHUD::show(sessionnotices::syntheticInputMissing(m_platform->name()),
                       QStringLiteral("exclamationmark.triangle.fill"), 4.0);
        return;
    }
    QPointer<AppCaptureFlows> self(this);
    ScrollingCapture::begin(
        upwards ? ScrollDirection::up : ScrollDirection::down,
        [self](const std::optional<CapturedImage>& image) {
            if (self && image) self->handleResult(*image, CaptureSource::scrolling);
        },
        m_settings, m_beginOverlay);
}

void AppCaptureFlows::instantTextRecognition() {
    if (!m_beginOverlay) return;
    QPointer<AppCaptureFlows> self(this);
    m_beginOverlay(OverlayMode::area, [self](const OverlayResult& result) {
        if (!self || result.kind != OverlayResult::Kind::area) return;
        const CapturedImage& frozen = result.frozen;
        const auto clipped = capturegeometry::clippedCrop(
            capturegeometry::cropRect(result.rect, frozen.scale, frozen.pixelHeight()), frozen.image.size());
        if (!clipped) return;
        // The continuation comes back to the main thread, where the clipboard and the toast live.
        QFuture<OCRResult> reading = OCRService::shared().recognize(frozen.image.copy(*clipped));
        progresstoast::showWhileRunning(reading, QStringLiteral("Reading text…"),
                                        QStringLiteral("text.viewfinder"));
        // The platform of the moment is held until the answer comes.
        reading.then(self, [platform = self->m_platform](const OCRResult& r) {
            const OCRFeedback feedback = OCRFeedback::forInstantFlow(r);
            if (!feedback.clipboardText.isEmpty()) {
                Pasteboard& pasteboard = platform->pasteboard();
                pasteboard.clear();
                pasteboard.setText(feedback.clipboardText);
            }
            ToastHUD::show(feedback.message, feedback.symbol, ToastHUD::defaultDuration);
        });
    });
}

void AppCaptureFlows::openFile() {
    const QString path =
        QFileDialog::getOpenFileName(nullptr, QStringLiteral("Open Image"), QString(), openFileFilter());
    if (path.isEmpty()) return;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        ToastHUD::show(
            QStringLiteral("Could not open “%1”: %2").arg(QFileInfo(path).fileName(), reader.errorString()),
            QStringLiteral("exclamationmark.triangle.fill"), 4.0);
        return;
    }
    openInEditor(image);
}

void AppCaptureFlows::loadClipboard() {
    const auto image = m_platform->pasteboard().readImage();
    if (!image || image->isNull()) {
        ToastHUD::show(QStringLiteral("No image in clipboard"), QStringLiteral("doc.on.clipboard"), 2.2);
        return;
    }
    openInEditor(*image);
}

void AppCaptureFlows::openInEditor(const QImage& image) {
    const CapturedImage captured{image, densityScale(image)};
    m_history.record(captured);
    m_log.append(QStringLiteral("editor-opened px=%1x%2").arg(image.width()).arg(image.height()));
    EditorWindowController::open(captured);
}

void AppCaptureFlows::showApp() {
    if (const auto last = m_history.last())
        EditorWindowController::open(*last);
    else
        PreferencesWindowController::show();
}

void AppCaptureFlows::handleResult(const CapturedImage& image, CaptureSource source) {
    m_history.record(image);
    ResultActions actions;
    // Copied and saved, the capture is encoded once; the PNG lives only as long as this handling.
    auto png = std::make_shared<SaveService::SharedPng>();
    actions.copy = [png](const CapturedImage& i) { SaveService::shared().copyToClipboard(i, png.get()); };
    actions.save = [png](const CapturedImage& i) { return SaveService::shared().save(i, png.get()); };
    actions.openEditor = [](const CapturedImage& i) { EditorWindowController::open(i); };
    actions.showThumbnail = [](const CapturedImage& i, std::function<void(const CapturedImage&)> onOpen) {
        ThumbnailHUD::show(i, std::move(onOpen));
    };
    actions.toast = [](const QString& m, const QString& s, double d) { ToastHUD::show(m, s, d); };
    actions.log = [this](const QString& m) { m_log.append(m); };
    handleCaptureResult(image, source, m_settings, actions);
}
