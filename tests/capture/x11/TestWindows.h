#pragma once

#include <QProcess>
#include <QStringList>

#include <memory>
#include <vector>

// Client windows of known content in helper processes, for tests against a real X server.
class TestWindow {
public:
    // Starts a helper with these arguments (see TestWindowClient.cpp) and waits until its window
    // is mapped and painted; `id()` is 0 when that did not happen.
    explicit TestWindow(const QStringList& args);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    quint32 id() const { return m_id; }
    qint64 pid() const { return m_process.processId(); }
    // Ends the helper (its window closes with its connection) and waits for it.
    void close();

private:
    QProcess m_process;
    quint32 m_id = 0;
};

namespace x11test {
// Whether the window manager lists this client in _NET_CLIENT_LIST.
bool inClientList(quint32 client);
// The window manager's frame (the client's ancestor just below the root), in root pixels.
QRect frameRectOf(quint32 client);
// The client window alone, in root pixels.
QRect clientRectOf(quint32 client);
// Same pixels, whatever the two images' formats and metadata.
bool samePixels(const QImage& a, const QImage& b);
// The root window's pixels, read by an independent tool (ImageMagick's import).
QImage rootByImport();
// Waits until `done` holds, running the event loop meanwhile.
bool waitFor(const std::function<bool()>& done, int timeoutMs = 15000);
} // namespace x11test
