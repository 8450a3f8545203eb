#include "platform/x11/X11Pasteboard.h"

#include "platform/ClipboardMimeData.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {
QClipboard* systemClipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard()
                                                                        : nullptr;
}
} // namespace

void X11Pasteboard::clear() {
    m_png.clear();
    m_image = QImage();
    m_imageRatio = 1.0;
    m_text.reset();
    if (QClipboard* clipboard = systemClipboard()) clipboard->clear(QClipboard::Clipboard);
}

void X11Pasteboard::setPngData(const QByteArray& png) {
    m_png = png;
    publish();
}

void X11Pasteboard::writeImage(const QImage& image) {
    // With PNG bytes, the pixels are not kept: in-process readers get the bytes decoded.
    m_image = m_png.isEmpty() ? image : QImage();
    m_imageRatio = image.devicePixelRatio();
    publish();
}

void X11Pasteboard::setText(const QString& text) {
    m_text = text;
    publish();
}

void X11Pasteboard::publish() {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return;
    auto* data = new ClipboardMimeData;
    data->setPng(m_png);
    data->setImageObject(m_image);
    data->setImageRatio(m_imageRatio);
    if (m_text) data->setText(*m_text);
    clipboard->setMimeData(data, QClipboard::Clipboard); // the clipboard takes ownership
}

const ClipboardMimeData* X11Pasteboard::ownContents() const {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard || !clipboard->ownsClipboard()) return nullptr;
    return qobject_cast<const ClipboardMimeData*>(clipboard->mimeData(QClipboard::Clipboard));
}

std::optional<QImage> X11Pasteboard::readImage() const {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return std::nullopt;
    const QImage image = clipboard->image(QClipboard::Clipboard);
    if (image.isNull()) return std::nullopt;
    return image;
}

std::optional<QString> X11Pasteboard::readText() const {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return std::nullopt;
    const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText()) return std::nullopt;
    return data->text();
}
