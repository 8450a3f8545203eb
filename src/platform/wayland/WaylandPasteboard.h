#pragma once

#include "platform/Pasteboard.h"

#include <QPointer>

class FocusLender;

// The clipboard through Qt's Wayland clipboard. A Wayland compositor takes the clipboard only from
// a client that has the keyboard focus (or input it just gave): while one of Pictro's windows has
// it, contents go straight out; otherwise (a capture by hotkey with no editor) a tiny window of
// Pictro's own takes the focus for a moment and publishes them. Qt keeps serving the contents
// after every window has closed, for as long as Pictro runs.
class WaylandPasteboard : public Pasteboard {
public:
    WaylandPasteboard();
    ~WaylandPasteboard() override;

    void clear() override;
    void setPngData(const QByteArray& png) override;
    void writeImage(const QImage& image) override;
    void setText(const QString& text) override;
    std::optional<QImage> readImage() const override;
    std::optional<QString> readText() const override;

private:
    void publish();
    void publishNow();

    QByteArray m_png;
    QImage m_image;
    std::optional<QString> m_text;
    QPointer<FocusLender> m_lender;
};
