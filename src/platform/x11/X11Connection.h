#pragma once

#include <QByteArray>

#include <mutex>

struct xcb_connection_t;
struct xcb_screen_t;

// The program's own connection to the X server, separate from Qt's so that captures can run
// off the main thread. Opened on first use and kept for the life of the process.
class X11Connection {
  public:
    static X11Connection& shared();

    // True when an X server answers on $DISPLAY (a throwaway connection; nothing is kept).
    static bool serverReachable(const char* display = nullptr);

    // The connection, or nullptr when the server cannot be reached.
    xcb_connection_t* connection();
    xcb_screen_t* rootScreen();
    bool isOpen();

    ~X11Connection();

  private:
    X11Connection() = default;
    void openLocked();

    std::mutex m_mutex;
    bool m_tried = false;
    xcb_connection_t* m_connection = nullptr;
    xcb_screen_t* m_screen = nullptr;
};
