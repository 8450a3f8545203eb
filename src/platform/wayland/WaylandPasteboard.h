#pragma once

#include "platform/Pasteboard.h"

#include <QPointer>

#include <memory>

class FocusLender;
class WaylandDataControl;

// The clipboard on Wayland. A compositor takes the clipboard from a client only while that client
// has the keyboard focus: while one of Pictro's windows has it, contents go out through Qt's
// clipboard. Without one (a capture by hotkey, no editor) they go through the compositor's
// clipboard control where it offers that; elsewhere a tiny window of Pictro's own asks for the
// focus for a moment and publishes them. Either way the contents stay available after Pictro's
// windows have closed, for as long as Pictro runs.
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
    bool publishThroughControl();

    QByteArray m_png;
    QImage m_image;
    std::optional<QString> m_text;
    QPointer<FocusLender> m_lender;
    std::unique_ptr<WaylandDataControl> m_control;
    bool m_controlLookedFor = false;
};
