#pragma once

#include <QObject>

#include <functional>

// Waits for the tray to show the program's icon: where the tray embeds a window of the program
// (the XEmbed trays of X11), until that window's first paint, which comes once it is mapped;
// elsewhere, or when nothing is painted in time, until `longestMs` have passed.
class TrayIconShown : public QObject {
  public:
    // Calls `then` once, on the main thread, unless `context` is gone by then.
    static void then(QObject* context, int longestMs, std::function<void()> then);

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TrayIconShown(QObject* context, int longestMs, std::function<void()> then);
    void fire();

    std::function<void()> m_then;
    bool m_fired = false;
};
