#include "editor/EditorWindowController.h"

#include "editor/CanvasColors.h"
#include "editor/EditorCanvasView.h"
#include "editor/EditorColorButton.h"
#include "editor/EditorKeyCommands.h"
#include "editor/EditorScrollView.h"
#include "editor/EditorWindowGeometry.h"
#include "hud/PinWindow.h"
#include "hud/ProgressToast.h"
#include "hud/ToastHUD.h"
#include "hud/WindowIdentity.h"
#include "ocr/OCRService.h"
#include "platform/Log.h"
#include "platform/Pasteboard.h"
#include "platform/Platform.h"
#include "platform/Screens.h"
#include "save/SaveService.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <QApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
#include <QPointer>
#include <QSaveFile>
#include <QTextBoundaryFinder>
#include <QVBoxLayout>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

const QString kCheckmark = QStringLiteral("checkmark.circle.fill");
const QString kWarning = QStringLiteral("exclamationmark.triangle.fill");

QPalette darkPalette() {
    QPalette p = QApplication::palette();
    const QColor window = QColor::fromRgbF(0.11f, 0.11f, 0.11f);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::Base, QColor::fromRgbF(0.13f, 0.13f, 0.13f));
    p.setColor(QPalette::WindowText, QColor(230, 230, 230));
    p.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    p.setColor(QPalette::Text, QColor(230, 230, 230));
    return p;
}

// The number of characters a reader would count: "é" typed as e + accent is one.
int characterCount(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

// Writes the bytes to a temporary file beside the target, which replaces it only once complete, so a
// failed write leaves a file already there as it was. Unbuffered, because a buffered QSaveFile
// takes a short write on its final flush (a full disk) for success and commits a cut-off file;
// a short write is told apart here and never committed. Returns the error, none on success.
std::optional<QString> writeReplacing(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
    const qint64 written = file.write(bytes);
    const int writeErrno = errno;
    if (written != bytes.size()) {
        const QString error = file.error() != QFileDevice::NoError
                                  ? file.errorString()
                                  : QString::fromLocal8Bit(std::strerror(writeErrno));
        file.cancelWriting();
        return error;
    }
    if (!file.commit()) return file.errorString();
    return std::nullopt;
}

} // namespace

std::vector<std::unique_ptr<EditorWindowController>>& EditorWindowController::registry() {
    // Never destroyed with the other statics: by then no QApplication is left to destroy windows
    // under. The editors go when the application quits instead.
    static auto* list = [] {
        auto* l = new std::vector<std::unique_ptr<EditorWindowController>>;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [l] { l->clear(); });
        return l;
    }();
    return *list;
}

const std::vector<std::unique_ptr<EditorWindowController>>& EditorWindowController::controllers() {
    return registry();
}

void EditorWindowController::open(const CapturedImage& image) {
    auto controller = std::make_unique<EditorWindowController>(image);
    EditorWindowController* editor = controller.get();
    registry().push_back(std::move(controller));
    editor->m_window->show();
    editor->m_window->raise();
    editor->m_window->activateWindow();
    editor->m_canvas->setFocus(Qt::OtherFocusReason);
}

EditorWindowController::EditorWindowController(const CapturedImage& image) {
    buildWindow(image);
}

EditorWindowController::~EditorWindowController() {
    // The window goes first: the canvas and its undo steps refer to the undo manager.
    if (m_window) m_window->removeEventFilter(this);
    m_window.reset();
}

void EditorWindowController::buildWindow(const CapturedImage& image) {
    m_window = std::make_unique<QWidget>();
    windowidentity::setWindowIdentity(m_window.get(), QStringLiteral("Editor"));
    m_window->setPalette(darkPalette());
    m_window->setAutoFillBackground(true);
    if (Settings::shared().boolValue(keys::alwaysOnTop)) m_window->setWindowFlag(Qt::WindowStaysOnTopHint);

    m_toolbar = new EditorToolbar(canvascolors::systemRed());
    m_canvas = new EditorCanvasView(image);
    m_canvas->setUndoManager(&m_undo);
    m_canvas->setFocusPolicy(Qt::StrongFocus);
    m_scroll = new EditorScrollView(m_canvas);
    QPalette scrollPalette = m_scroll->palette();
    scrollPalette.setColor(QPalette::Window, QColor::fromRgbF(0.13f, 0.13f, 0.13f));
    m_scroll->setPalette(scrollPalette);
    m_scroll->setBackgroundRole(QPalette::Window);
    m_scroll->viewport()->setAutoFillBackground(true);

    auto* column = new QVBoxLayout(m_window.get());
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_toolbar);
    column->addWidget(m_scroll, 1);

    connect(m_toolbar, &EditorToolbar::actionTriggered, this, &EditorWindowController::performAction);
    connect(m_toolbar, &EditorToolbar::toolChosen, this, &EditorWindowController::selectTool);
    connect(m_toolbar, &EditorToolbar::colorChosen, this,
            [this](const QColor& color) { m_canvas->setCurrentColor(color); });
    connect(m_scroll, &EditorScrollView::magnificationChanged, this, &EditorWindowController::refreshLabels);
    QPointer<EditorWindowController> self(this);
    m_canvas->setOnStateChange([self] {
        if (self) self->refreshLabels();
    });

    m_window->installEventFilter(this);
    // Keys reach the canvas, which keeps the focus; the wheel is the scroll view's own.
    m_canvas->installEventFilter(this);

    selectTool(EditorTool::select);
    placeWindow(image.pointSize());
    refreshLabels();
    applyInitialZoom();
}

void EditorWindowController::placeWindow(const QSizeF& imagePoints) {
    Screens& screens = Platform::current().screens();
    const std::optional<ScreenInfo> screen = screens.mainOrFirstScreen();
    if (!screen) {
        const QSizeF size = editorgeometry::initialContentSize(imagePoints, QSizeF(1e9, 1e9));
        m_window->resize(size.toSize());
    } else {
        const QSizeF size = editorgeometry::initialContentSize(imagePoints, screen->visibleFrame.size());
        const QRectF visible = screens.converter().bottomLeftToQt(screen->visibleFrame);
        const QSize whole(static_cast<int>(std::lround(size.width())),
                          static_cast<int>(std::lround(size.height())));
        m_window->resize(whole);
        const QPointF topLeft = visible.center() - QPointF(whole.width(), whole.height()) / 2.0;
        m_window->move(topLeft.toPoint());
    }
    // Lay out now, so the visible area of the canvas is known before the window is shown.
    m_window->layout()->activate();
}

void EditorWindowController::applyInitialZoom() {
    const bool prefer100 = Settings::shared().boolValue(keys::preferZoom100);
    setMagnification(
        editorgeometry::initialZoom(prefer100, m_scroll->clipSize(), m_canvas->image().pointSize()));
    refreshLabels();
}

void EditorWindowController::setMagnification(double magnification) {
    m_scroll->setMagnification(magnification);
}

void EditorWindowController::selectTool(EditorTool tool) {
    m_canvas->setCurrentTool(tool);
    m_canvas->update();
    m_toolbar->showCurrentTool(tool);
}

void EditorWindowController::refreshLabels() {
    m_toolbar->setSizeText(editorgeometry::sizeLabel(m_canvas->image().pointSize()));
    m_toolbar->setZoomText(editorgeometry::zoomLabel(m_scroll->magnification()));
}

void EditorWindowController::performAction(EditorToolbar::Action action) {
    switch (action) {
    case EditorToolbar::Action::copy:
        copyImage();
        break;
    case EditorToolbar::Action::save:
        saveImage();
        break;
    case EditorToolbar::Action::pin:
        pinImage();
        break;
    case EditorToolbar::Action::recognizeText:
        runOCR();
        break;
    }
}

void EditorWindowController::copyImage() {
    SaveService::shared().copyToClipboard(m_canvas->flattened());
    ToastHUD::show(tr("Copied to clipboard"), kCheckmark, ToastHUD::defaultDuration);
    closeWindow();
}

CapturedImage EditorWindowController::imageForSave() {
    const CapturedImage image = m_canvas->flattened();
    return Settings::shared().boolValue(keys::downscaleRetina) ? image.downscaledTo1x() : image;
}

void EditorWindowController::saveImage() {
    const CapturedImage image = imageForSave();
    auto* dialog = new QFileDialog(m_window.get(), tr("Save Image"), Settings::shared().screenshotsFolder());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    const QString pngFilter = tr("PNG image (*.png)");
    dialog->setNameFilters({pngFilter, tr("JPEG image (*.jpg *.jpeg)")});
    dialog->setDefaultSuffix(QStringLiteral("png"));
    connect(dialog, &QFileDialog::filterSelected, dialog, [dialog, pngFilter](const QString& filter) {
        dialog->setDefaultSuffix(filter == pngFilter ? QStringLiteral("png") : QStringLiteral("jpg"));
    });
    dialog->selectFile(SaveService::fileName(QDateTime::currentDateTime(), 1, ImageFileFormat::png));
    connect(dialog, &QFileDialog::fileSelected, this,
            [this, image](const QString& path) { writeImage(image, path); });
    dialog->open();
}

bool EditorWindowController::saveTo(const QString& path) {
    return writeImage(imageForSave(), path);
}

bool EditorWindowController::writeImage(const CapturedImage& image, const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    const ImageFileFormat format = suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")
                                       ? ImageFileFormat::jpeg
                                       : ImageFileFormat::png;
    const std::optional<QByteArray> bytes = SaveService::data(image.image, format);
    if (!bytes) return false;

    const std::optional<QString> error = writeReplacing(path, *bytes);
    if (error) {
        qCWarning(lcEditor, "save failed: %s", qPrintable(*error));
        ToastHUD::show(tr("Save failed"), kWarning, ToastHUD::defaultDuration);
        return false;
    }
    ToastHUD::show(tr("Saved %1").arg(QFileInfo(path).fileName()),
                   QStringLiteral("square.and.arrow.down.fill"), ToastHUD::defaultDuration);
    return true;
}

void EditorWindowController::pinImage() {
    PinWindow::pin(m_canvas->flattened());
    closeWindow();
}

void EditorWindowController::runOCR() {
    // Only the flattened bitmap travels with the recognition, and the result is reported through a
    // static: the editor may be closed before the engine is done.
    QFuture<OCRResult> reading = OCRService::shared().recognize(m_canvas->flattened().image);
    progresstoast::showWhileRunning(reading, tr("Reading text…"), QStringLiteral("text.viewfinder"));
    reading.then(qApp, [](const OCRResult& result) { reportRecognizedText(result.clipboardText()); });
}

void EditorWindowController::reportRecognizedText(const QString& text) {
    if (text.isEmpty()) {
        ToastHUD::show(tr("No text found"), QStringLiteral("text.magnifyingglass"),
                       ToastHUD::defaultDuration);
        return;
    }
    Pasteboard& pasteboard = Platform::current().pasteboard();
    pasteboard.clear();
    pasteboard.setText(text);
    ToastHUD::show(tr("Text copied (%1 chars)").arg(characterCount(text)), QStringLiteral("text.viewfinder"),
                   ToastHUD::defaultDuration);
}

void EditorWindowController::escPressed() {
    const bool copy = Settings::shared().boolValue(keys::escCopy);
    const bool save = Settings::shared().boolValue(keys::escSave);
    if (copy || save) {
        const CapturedImage image = m_canvas->flattened();
        if (copy) SaveService::shared().copyToClipboard(image);
        // A save that failed must not close the window: the edits would be gone with it while the
        // toast claimed they were kept.
        if (save && !SaveService::shared().save(image)) {
            ToastHUD::show(tr("Save failed"), kWarning, ToastHUD::defaultDuration);
            return;
        }
        ToastHUD::show(copy ? tr("Copied to clipboard") : tr("Saved"), kCheckmark, ToastHUD::defaultDuration);
    }
    closeWindow();
}

void EditorWindowController::closeWindow() {
    m_window->close();
}

void EditorWindowController::windowClosing() {
    if (m_closing) return;
    m_closing = true;
    auto& list = registry();
    const auto it = std::find_if(list.begin(), list.end(), [this](const auto& c) { return c.get() == this; });
    if (it == list.end()) return;
    // The window is still in the middle of closing: the controller and its window go once the
    // event loop is back.
    EditorWindowController* self = it->release();
    list.erase(it);
    self->deleteLater();
}

bool EditorWindowController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window.get()) {
        if (event->type() == QEvent::Close) windowClosing();
        return false;
    }
    if (event->type() == QEvent::KeyPress && watched == m_canvas)
        return handleKey(static_cast<QKeyEvent*>(event));
    return false;
}

bool EditorWindowController::handleKey(QKeyEvent* event) {
    using editorkeys::Command;
    // The X server's key state (and the Wayland compositor's, which numbers its modifiers alike)
    // carries the Lock bit; offscreen it is 0.
    const editorkeys::KeyPress press{
        event->key(), event->text(), event->modifiers(),
        editorkeys::capsLockOn(event->text(), event->modifiers(), event->nativeModifiers())};
    const editorkeys::KeyCommand command = editorkeys::commandFor(press);
    // While text is typed, plain keys belong to the text field (Return and Escape end it there).
    // Ctrl shortcuts the field has no use of come on to the canvas and still work: saving or
    // copying then takes the text in first.
    if (m_canvas->textField() && !editorkeys::isShortcut(command.command)) return false;
    const double m = m_scroll->magnification();
    switch (command.command) {
    case Command::none:
        return false;
    case Command::escape:
        escPressed();
        break;
    case Command::deleteSelection:
        m_canvas->deleteSelection();
        break;
    case Command::selectTool:
        selectTool(*command.tool);
        break;
    case Command::undo:
        m_undo.undo();
        break;
    case Command::redo:
        m_undo.redo();
        break;
    case Command::copy:
        copyImage();
        break;
    case Command::save:
        saveImage();
        break;
    case Command::pin:
        pinImage();
        break;
    case Command::close:
        closeWindow();
        break;
    case Command::zoomActual:
        setMagnification(1.0);
        break;
    case Command::zoomIn:
        setMagnification(editorgeometry::steppedZoom(m, editorgeometry::zoomInStep));
        break;
    case Command::zoomOut:
        setMagnification(editorgeometry::steppedZoom(m, editorgeometry::zoomOutStep));
        break;
    }
    return true;
}
