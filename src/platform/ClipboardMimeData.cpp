#include "platform/ClipboardMimeData.h"

void ClipboardMimeData::setPng(const QByteArray& png) {
    m_png = png;
}

void ClipboardMimeData::setImageObject(const QImage& image) {
    if (!image.isNull()) m_imageRatio = image.devicePixelRatio();
    m_image = m_png.isEmpty() ? image : QImage();
}

bool ClipboardMimeData::hasFormat(const QString& mimeType) const {
    if (mimeType == QLatin1String(qtImageType)) return !m_image.isNull() || !m_png.isEmpty();
    if (mimeType == QLatin1String(pngType)) return !m_png.isEmpty();
    return QMimeData::hasFormat(mimeType);
}

QStringList ClipboardMimeData::formats() const {
    QStringList list;
    if (!m_png.isEmpty()) {
        list << QLatin1String(pngType);
    } else if (!m_image.isNull()) {
        // No PNG bytes to serve (encoding failed): let Qt offer and encode the image object itself.
        list << QLatin1String(qtImageType);
    }
    list << QMimeData::formats();
    return list;
}

QVariant ClipboardMimeData::retrieveData(const QString& mimeType, QMetaType type) const {
    const bool png = mimeType == QLatin1String(pngType);
    const bool qtImage = mimeType == QLatin1String(qtImageType);
    if (!png && !qtImage) return QMimeData::retrieveData(mimeType, type);
    ++m_imageRequests;
    const bool wantsImage = type.id() == QMetaType::QImage || type.id() == QMetaType::QPixmap;
    if (qtImage && wantsImage) {
        if (!m_image.isNull()) return m_image;
        QImage decoded = QImage::fromData(m_png, "PNG");
        decoded.setDevicePixelRatio(m_imageRatio);
        return decoded;
    }
    if (!m_png.isEmpty()) return m_png;
    // Only an image object: give it back and let Qt's clipboard encode it for this request.
    if (qtImage && !m_image.isNull()) return m_image;
    return {};
}
