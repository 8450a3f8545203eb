#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into an orderly quit of the event loop, so that a session
// logout or a `kill` still runs the shutdown path (the clipboard is handed over, files closed).
class QuitOnSignal : public QObject {
    Q_OBJECT
  public:
    explicit QuitOnSignal(QObject* parent = nullptr);
    ~QuitOnSignal() override;

  private:
    static void handle(int signal);
    void drain();

    QSocketNotifier* m_notifier = nullptr;
};
