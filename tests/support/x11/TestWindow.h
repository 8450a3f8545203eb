#pragma once

#include <QProcess>
#include <QStringList>

// A window of another program, of known content, for tests against a real X server: the
// project's own plain X client (TestWindowClient.cpp) in a child process.
class TestWindow {
  public:
    // Starts the client with these arguments (see TestWindowClient.cpp) and waits until its window
    // is mapped and painted; `id()` is 0 when that did not happen (the test has failed then).
    explicit TestWindow(const QStringList& args);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    quint32 id() const { return m_id; }
    qint64 pid() const { return m_process.processId(); }
    // Ends the client (its window closes with its connection) and waits until the window manager
    // has let the window go.
    void close();

  private:
    QProcess m_process;
    quint32 m_id = 0;
};
