#include "app/AppCaptureFlows.h"
#include "app/AppDelegate.h"
#include "app/QuitOnSignal.h"
#include "app/SelfTest.h"
#include "app/SingleInstance.h"
#include "ocr/OpenMPThreadLimit.h"
#include "overlay/SelectionOverlay.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

#ifdef PICTRO_WITH_X11
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Platform.h"
#endif

#ifdef PICTRO_WITH_WAYLAND
#include "platform/wayland/WaylandPlatform.h"
#endif

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

QStringList argumentList(int argc, char** argv) {
    QStringList list;
    for (int i = 0; i < argc; ++i) list << QString::fromLocal8Bit(argv[i]);
    return list;
}

bool displayReachable() {
#ifdef PICTRO_WITH_X11
    return X11Connection::serverReachable();
#else
    return false;
#endif
}

int runSelfTest(int argc, char** argv, const QStringList& args, qsizetype index) {
    const QString folder = index + 1 < args.size() ? args[index + 1]
                                                   : QDir::tempPath() + QStringLiteral("/pictro-selftest");
    // The self-check draws off screen, so it runs the same with or without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return selftest::run(folder);
}

// Starts a selection over every screen; refused while one is already open, so a second press of
// the area key during a selection does nothing.
bool beginSelection(OverlayMode mode, OverlayCompletion completion) {
    if (SelectionOverlay::current()) return false;
    SelectionOverlay::begin(mode, std::move(completion));
    return true;
}

int printPermissions() {
    const bool reachable = displayReachable();
    std::printf("screen-recording: %s\n", reachable ? "granted" : "NOT granted");
    std::printf("accessibility: %s\n", reachable ? "granted" : "NOT granted");
    return 0;
}

// A Wayland session (or Qt told to use Wayland) runs on the Wayland backend where it is built.
bool waylandSession(const QByteArray& qpa) {
#ifdef PICTRO_WITH_WAYLAND
    if (qpa.startsWith("wayland")) return true;
    if (!qpa.isEmpty() || qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return false;
    return qgetenv("XDG_SESSION_TYPE") == "wayland" || qEnvironmentVariableIsEmpty("DISPLAY");
#else
    Q_UNUSED(qpa);
    return false;
#endif
}

int runApplication(int argc, char** argv, const QStringList& args) {
    QByteArray qpa = qgetenv("QT_QPA_PLATFORM");
    const bool onWayland = waylandSession(qpa);
    if (onWayland && qpa.isEmpty()) qputenv("QT_QPA_PLATFORM", qpa = "wayland");
    const bool onX11 = !onWayland && (qpa.isEmpty() || qpa.startsWith("xcb"));
    if (onX11 && !displayReachable()) {
        std::fprintf(stderr, "Pictro: cannot connect to the X display \"%s\"; start Pictro inside an X11 session\n",
                     qgetenv("DISPLAY").constData());
        return 1;
    }
    // Links (or a plain second launch) go to the instance that already runs, if there is one.
    QStringList links;
    for (qsizetype i = 1; i < args.size(); ++i)
        if (!args[i].startsWith(QLatin1Char('-'))) links << args[i];
    const QString socket = singleinstance::socketPath();
    switch (singleinstance::forward(socket, links)) {
    case singleinstance::Forward::handed: return 0;
    case singleinstance::Forward::failed:
        std::fprintf(stderr, "Pictro: another instance holds %s but does not answer\n", qPrintable(socket));
        return 1;
    case singleinstance::Forward::noInstance: break;
    }
    if (qpa.isEmpty()) qputenv("QT_QPA_PLATFORM", "xcb");
    Settings::registerDefaults();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pictro"));
    QApplication::setDesktopFileName(QStringLiteral("pictro"));
    QApplication::setQuitOnLastWindowClosed(false);
#ifdef PICTRO_WITH_WAYLAND
    if (onWayland) Platform::install(std::make_unique<WaylandPlatform>());
#endif
#ifdef PICTRO_WITH_X11
    if (!onWayland) Platform::install(std::make_unique<X11Platform>());
#endif
    if (!Platform::isInstalled()) {
        std::fprintf(stderr, "Pictro: this build has no platform layer for this system\n");
        return 1;
    }
    QuitOnSignal quitOnSignal;
    AppDelegate delegate(Settings::shared(), Platform::current(), args);
    AppCaptureFlows flows(delegate, Settings::shared(), Platform::current(), beginSelection);
    SelectionOverlay::setCaptureErrorHandler(AppServices::handleCaptureError);
    delegate.setFlows(&flows);
    singleinstance::Server server;
    if (!server.listen(socket))
        std::fprintf(stderr, "Pictro: cannot listen on %s; links from other launches will not arrive\n", qPrintable(socket));
    QObject::connect(&server, &singleinstance::Server::reopenRequested, &delegate, &AppDelegate::reopen);
    QObject::connect(&server, &singleinstance::Server::linksReceived, &delegate, &AppDelegate::openLinks);
    delegate.applicationDidFinishLaunching();
    if (!links.isEmpty()) delegate.openLinks(links);
    const int status = app.exec();
    return status;
}

} // namespace

int main(int argc, char** argv) {
    // While the process has a single thread: the recognition engine's thread limit.
    openmplimit::ensureThreadLimit();
    const QStringList args = argumentList(argc, argv);
    const qsizetype selfTestIndex = args.indexOf(QStringLiteral("--selftest"));
    if (selfTestIndex >= 0) return runSelfTest(argc, argv, args, selfTestIndex);
    if (args.contains(QStringLiteral("--check-permissions"))) return printPermissions();
    return runApplication(argc, argv, args);
}
