#pragma once

#include <QImage>
#include <QMimeData>

// Clipboard contents whose every image format is served from bytes encoded once. Qt's own
// clipboard encodes an image object anew for each request, and offers it in every format its
// writers know (so a clipboard manager or a reader that asks for them all costs one encoding each,
// seconds for a large capture). Here the image is offered as the PNG bytes alone; readers that
// ask for Qt's image object are given those same bytes, and in-process readers get them decoded.
// The pixels themselves are kept only when there are no PNG bytes: a 4K capture would otherwise
// hold 32 MiB for as long as it stays on the clipboard.
class ClipboardMimeData : public QMimeData {
    Q_OBJECT
  public:
    static constexpr const char* pngType = "image/png";
    static constexpr const char* qtImageType = "application/x-qt-image";

    ClipboardMimeData() = default;

    // The PNG bytes first, then the image object: with bytes, the pixels are not kept, and the
    // image is decoded from the bytes at the device pixel ratio it had.
    void setPng(const QByteArray& png);
    void setImageObject(const QImage& image);
    // The ratio of the decoded image, for a publisher that no longer holds the pixels.
    void setImageRatio(qreal ratio) { m_imageRatio = ratio; }
    const QByteArray& png() const { return m_png; }

    // How many times anyone asked this object for image data (for tests and measurements).
    int imageRequests() const { return m_imageRequests; }

    bool hasFormat(const QString& mimeType) const override;
    QStringList formats() const override;

  protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

  private:
    QByteArray m_png;
    QImage m_image;
    qreal m_imageRatio = 1.0;
    mutable int m_imageRequests = 0;
};
