#include "support/x11/X11TestSupport.h"

#include "platform/x11/X11Platform.h"
#include "support/ExternalProgram.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace x11test {

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <typename T> Reply<T> reply(T* r) {
    return Reply<T>(r, &std::free);
}

// A short-lived connection of its own, so a look from outside never disturbs Qt's.
struct Connection {
    Connection() : c(xcb_connect(nullptr, nullptr)) {}
    ~Connection() { xcb_disconnect(c); }
    xcb_window_t root() const { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }
    xcb_connection_t* c;
};

} // namespace

X11Platform& installX11Platform() {
    static X11Platform* installed = [] {
        auto platform = std::make_unique<X11Platform>();
        X11Platform* raw = platform.get();
        Platform::install(std::move(platform));
        return raw;
    }();
    return *installed;
}

QString xdotool(const QStringList& args) {
    return testsupport::runProgram(QStringLiteral("xdotool"), args).text();
}

bool xdotoolSucceeds(const QStringList& args) {
    return testsupport::runProgram(QStringLiteral("xdotool"), args).ok();
}

void movePointer(const QPoint& global) {
    xdotool({QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y())});
}

quint64 activeWindow() {
    return xdotool({QStringLiteral("getactivewindow")}).toULongLong();
}

std::vector<quint64> stacking() {
    const QString line =
        testsupport::runProgram(QStringLiteral("xprop"),
                                {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")})
            .text();
    std::vector<quint64> ids;
    const qsizetype hash = line.indexOf(QLatin1Char('#'));
    if (hash < 0) return ids;
    for (const QString& piece : line.mid(hash + 1).split(QLatin1Char(','), Qt::SkipEmptyParts))
        ids.push_back(piece.trimmed().toULongLong(nullptr, 16));
    return ids;
}

bool stackedAbove(quint64 upper, quint64 lower) {
    const std::vector<quint64> ids = stacking();
    const auto u = std::find(ids.begin(), ids.end(), upper);
    const auto l = std::find(ids.begin(), ids.end(), lower);
    return u != ids.end() && l != ids.end() && u > l;
}

QString windowProperties(quint64 window, const QStringList& names) {
    return testsupport::runProgram(QStringLiteral("xprop"),
                                   QStringList{QStringLiteral("-id"), QString::number(window)} + names)
        .text();
}

bool inClientList(quint32 client) {
    Connection x;
    static const char name[] = "_NET_CLIENT_LIST";
    const auto atom =
        reply(xcb_intern_atom_reply(x.c, xcb_intern_atom(x.c, 0, sizeof name - 1, name), nullptr));
    if (!atom) return false;
    const auto list = reply(xcb_get_property_reply(
        x.c, xcb_get_property(x.c, 0, x.root(), atom->atom, XCB_ATOM_WINDOW, 0, 4096), nullptr));
    if (!list) return false;
    const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(list.get()));
    const int count = xcb_get_property_value_length(list.get()) / 4;
    return std::find(ids, ids + count, client) != ids + count;
}

QRect frameRectOf(quint32 client) {
    Connection x;
    xcb_window_t w = client;
    for (int depth = 0; depth < 32; ++depth) {
        const auto tree = reply(xcb_query_tree_reply(x.c, xcb_query_tree(x.c, w), nullptr));
        if (!tree) break;
        if (tree->parent == tree->root) {
            const auto g = reply(xcb_get_geometry_reply(x.c, xcb_get_geometry(x.c, w), nullptr));
            if (!g) break;
            return QRect(g->x, g->y, g->width + 2 * g->border_width, g->height + 2 * g->border_width);
        }
        w = tree->parent;
    }
    return {};
}

QRect clientRectOf(quint32 client) {
    Connection x;
    const auto g = reply(xcb_get_geometry_reply(x.c, xcb_get_geometry(x.c, client), nullptr));
    const auto t = reply(xcb_translate_coordinates_reply(
        x.c, xcb_translate_coordinates(x.c, client, x.root(), 0, 0), nullptr));
    if (!g || !t) return {};
    return QRect(t->dst_x, t->dst_y, g->width, g->height);
}

QColor rootPixel(const QPoint& at) {
    return QGuiApplication::primaryScreen()->grabWindow(0, at.x(), at.y(), 1, 1).toImage().pixelColor(0, 0);
}

QImage rootByImport() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("root.png"));
    if (!testsupport::runProgram(QStringLiteral("import"),
                                 {QStringLiteral("-window"), QStringLiteral("root"), file}, 20000)
             .ok())
        return {};
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

bool samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32), y = b.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < x.height(); ++row)
        if (std::memcmp(x.constScanLine(row), y.constScanLine(row), static_cast<size_t>(x.width()) * 4) != 0)
            return false;
    return true;
}

} // namespace x11test
