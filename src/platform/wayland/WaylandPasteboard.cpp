#include "platform/wayland/WaylandPasteboard.h"

#include "platform/ClipboardMimeData.h"
#include "platform/Log.h"
#include "platform/wayland/FocusLender.h"
#include "platform/wayland/WaylandDataControl.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QWindow>

namespace {
QClipboard* systemClipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard()
                                                                        : nullptr;
}
} // namespace

WaylandPasteboard::WaylandPasteboard() = default;

WaylandPasteboard::~WaylandPasteboard() {
    if (m_lender) m_lender->deleteLater();
}

void WaylandPasteboard::clear() {
    m_png.clear();
    m_image = QImage();
    m_text.reset();
}

void WaylandPasteboard::setPngData(const QByteArray& png) {
    m_png = png;
    publish();
}

void WaylandPasteboard::writeImage(const QImage& image) {
    m_image = image;
    publish();
}

void WaylandPasteboard::setText(const QString& text) {
    m_text = text;
    publish();
}

void WaylandPasteboard::publish() {
    if (!systemClipboard()) return;
    if (QGuiApplication::focusWindow()) {
        publishNow();
        return;
    }
    if (publishThroughControl()) return;
    // One lender at a time; it publishes whatever has been gathered by the time it has the focus.
    if (m_lender) return;
    m_lender = new FocusLender([this](bool focused) {
        if (!focused)
            qCWarning(lcPlatform, "no window of Pictro's got the focus; the clipboard may stay as it was");
        publishNow();
    });
}

bool WaylandPasteboard::publishThroughControl() {
    if (!m_controlLookedFor) {
        m_controlLookedFor = true;
        m_control = WaylandDataControl::connect();
    }
    if (!m_control) return false;
    WaylandDataControl::Offers offers;
    if (!m_png.isEmpty()) offers.append({ClipboardMimeData::pngType, m_png});
    if (m_text) {
        const QByteArray utf8 = m_text->toUtf8();
        for (const char* type : {"text/plain;charset=utf-8", "text/plain", "UTF8_STRING", "STRING", "TEXT"})
            offers.append({type, utf8});
    }
    return m_control->setSelection(offers);
}

void WaylandPasteboard::publishNow() {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return;
    auto* data = new ClipboardMimeData;
    data->setPng(m_png);
    data->setImageObject(m_image);
    if (m_text) data->setText(*m_text);
    clipboard->setMimeData(data, QClipboard::Clipboard); // the clipboard takes ownership
}

std::optional<QImage> WaylandPasteboard::readImage() const {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return std::nullopt;
    const QImage image = clipboard->image(QClipboard::Clipboard);
    if (image.isNull()) return std::nullopt;
    return image;
}

std::optional<QString> WaylandPasteboard::readText() const {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return std::nullopt;
    const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText()) return std::nullopt;
    return data->text();
}
