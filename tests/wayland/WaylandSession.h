#pragma once

// What the tests read from the running Wayland session of scripts/with-wayland, through the
// session's own tools: grim for pixels, swaymsg for the compositor.
#include <QImage>
#include <QJsonObject>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace waylandsession {

// The Wayland backend installed as the platform for one test, and taken out again before the
// application object goes (its services hold Qt's connection to the compositor).
struct InstalledPlatform {
    InstalledPlatform();
    ~InstalledPlatform();
};

// A grim screenshot: of one output by name, or of the whole desktop when `output` is empty.
QImage grim(const QString& output = {});
// swaymsg's answer, trimmed.
QString swaymsg(const QStringList& args);

// The compositor's node of the window with this title, tiled or floating; empty when none shows.
QJsonObject swayWindow(const QString& title);
// Types `text` into the focused window through the compositor's virtual keyboard (wtype).
bool type(const QString& text);
// Whether any window of the running Pictro is on the desktop.
bool pictroWindowShown();

// Restarts the session's desktop portal with its backends read from `backendsDir`: a folder
// without any gives a portal that offers no screenshots, sessionPortalBackends() brings them back.
// Returns once the old portal is gone and, with `waitForScreenshot`, once the new one offers
// Screenshot; otherwise the next call to it starts it.
bool restartPortal(const QString& backendsDir, bool waitForScreenshot);
// The folder of the backends the session gave its portal.
QString sessionPortalBackends();

// The session's pointer and keyboard: a headless compositor has none, and without them clients get
// no pointer events and no keyboard focus. They exist while this object does; each call returns
// once the compositor has handled the input.
class VirtualInput {
  public:
    VirtualInput();
    ~VirtualInput();
    bool ready() const { return m_ready; }

    bool move(QPoint layoutPoint);
    bool press();
    bool release();
    bool drag(QPoint from, QPoint to);
    // A key pressed and released, by its evdev code.
    bool key(unsigned evdevCode);
    static constexpr unsigned escape = 1;

  private:
    bool send(const QByteArray& command);

    QProcess m_tool;
    bool m_ready = false;
};

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

// A window showing one line of large black text on white with its top-left at `origin`, for the
// text engine to read off the screen. Shown and painted on construction.
class TextWindow : public QWidget {
  public:
    TextWindow(const QString& text, QPoint origin);

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QString m_text;
    QPoint m_origin;
    bool m_painted = false;
};

} // namespace waylandsession
