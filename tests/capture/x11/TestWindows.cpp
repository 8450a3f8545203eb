#include "capture/x11/TestWindows.h"

#include "support/TestSupport.h"

#include <xcb/xcb.h>

#include <QImage>
#include <QRect>
#include <QTemporaryDir>

#include <cstdlib>
#include <cstring>

TestWindow::TestWindow(const QStringList& args) {
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(PICTRO_TEST_WINDOW_CLIENT), args);
    if (!m_process.waitForStarted(15000)) return;
    testsupport::waitUntil([this] { return m_process.canReadLine() || m_process.state() != QProcess::Running; }, 15000);
    bool ok = false;
    const quint32 id = QString::fromLatin1(m_process.readLine()).trimmed().toUInt(&ok);
    if (ok) m_id = id;
}

TestWindow::~TestWindow() { close(); }

void TestWindow::close() {
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
    // The X server hands a freed window id to the next client, so a window of the next test can
    // carry this id: wait until the window manager has let go of this one, or its stale entry in
    // the client list would stand for the new window.
    if (m_id) x11test::waitFor([this] { return !x11test::inClientList(m_id); }, 5000);
}

namespace x11test {

bool inClientList(quint32 client) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    static const char name[] = "_NET_CLIENT_LIST";
    auto* a = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
    bool found = false;
    if (a) {
        auto* p = xcb_get_property_reply(c, xcb_get_property(c, 0, root, a->atom, XCB_ATOM_WINDOW, 0, 4096), nullptr);
        if (p) {
            const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(p));
            const int count = xcb_get_property_value_length(p) / 4;
            for (int i = 0; i < count && !found; ++i) found = ids[i] == client;
        }
        std::free(p);
    }
    std::free(a);
    xcb_disconnect(c);
    return found;
}

QRect frameRectOf(quint32 client) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    QRect result;
    xcb_window_t w = client;
    for (int i = 0; i < 32; ++i) {
        auto* tree = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr);
        if (!tree) break;
        const xcb_window_t parent = tree->parent, root = tree->root;
        std::free(tree);
        if (parent == root) {
            auto* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr);
            if (g) result = QRect(g->x, g->y, g->width + 2 * g->border_width, g->height + 2 * g->border_width);
            std::free(g);
            break;
        }
        w = parent;
    }
    xcb_disconnect(c);
    return result;
}

QRect clientRectOf(quint32 client) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    auto* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, client), nullptr);
    auto* t = xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, client, root, 0, 0), nullptr);
    QRect result;
    if (g && t) result = QRect(t->dst_x, t->dst_y, g->width, g->height);
    std::free(g);
    std::free(t);
    xcb_disconnect(c);
    return result;
}

bool samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32), y = b.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < x.height(); ++row)
        if (std::memcmp(x.constScanLine(row), y.constScanLine(row), static_cast<size_t>(x.width()) * 4) != 0)
            return false;
    return true;
}

QImage rootByImport() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("root.png"));
    QProcess p;
    p.start(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file});
    if (!p.waitForFinished(20000) || p.exitCode() != 0) return {};
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

bool waitFor(const std::function<bool()>& done, int timeoutMs) { return testsupport::waitUntil(done, timeoutMs); }

} // namespace x11test
