#pragma once

#include <QRasterWindow>
#include <QTimer>

#include <functional>

// A small window that exists only to receive the keyboard focus for a moment, because a Wayland
// compositor hands the clipboard only to the client that has it. It runs `onFocus` once it is
// active (or, if the compositor never activates it, once its patience ends) and then closes.
class FocusLender : public QRasterWindow {
    Q_OBJECT
  public:
    explicit FocusLender(std::function<void(bool focused)> onFocus, int patienceMs = 2000);

  protected:
    void paintEvent(QPaintEvent*) override;
    bool event(QEvent* e) override;

  private:
    void done(bool focused);

    std::function<void(bool)> m_onFocus;
    QTimer m_patience;
    bool m_done = false;
};
