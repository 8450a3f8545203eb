#pragma once

// What the tests read from the running Wayland session of scripts/with-wayland, through the
// session's own tools: grim for pixels, swaymsg for the compositor.
#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace waylandsession {

// A grim screenshot: of one output by name, or of the whole desktop when `output` is empty.
QImage grim(const QString& output = {});
// swaymsg's answer, trimmed.
QString swaymsg(const QStringList& args);

// A window whose every pixel differs from its neighbours, so a picture that is off by one pixel,
// scaled or converted wrongly cannot pass for the right one. Shown and painted on construction.
class PatternWindow : public QWidget {
public:
    PatternWindow();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    bool m_painted = false;
};

} // namespace waylandsession
