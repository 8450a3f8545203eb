#pragma once

#include "platform/Pasteboard.h"

class ClipboardMimeData;

// The X11 CLIPBOARD selection through Qt's clipboard. Each write publishes the contents gathered
// since the last `clear` as one fresh object, so readers always see them complete and in order.
// When the program quits, Qt's clipboard hands what it owns to a running clipboard manager
// (SAVE_TARGETS); since only the PNG bytes are offered, that handover copies them once.
class X11Pasteboard : public Pasteboard {
  public:
    void clear() override;
    void setPngData(const QByteArray& png) override;
    void writeImage(const QImage& image) override;
    void setText(const QString& text) override;
    std::optional<QImage> readImage() const override;
    std::optional<QString> readText() const override;

    // The contents this program published last, while it still owns the clipboard; else null.
    const ClipboardMimeData* ownContents() const;

  private:
    void publish();

    QByteArray m_png;
    QImage m_image; // only while there are no PNG bytes
    qreal m_imageRatio = 1.0;
    std::optional<QString> m_text;
};
