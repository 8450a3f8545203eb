#include "app/AppDelegate.h"
#include "app/QuitOnSignal.h"
#include "app/SelfTest.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

#ifdef PICTRO_WITH_X11
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Platform.h"
#endif

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>

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

int printPermissions() {
    const bool reachable = displayReachable();
    std::printf("screen-recording: %s\n", reachable ? "granted" : "NOT granted");
    std::printf("accessibility: %s\n", reachable ? "granted" : "NOT granted");
    return 0;
}

int runApplication(int argc, char** argv, const QStringList& args) {
    const QByteArray qpa = qgetenv("QT_QPA_PLATFORM");
    const bool onX11 = qpa.isEmpty() || qpa.startsWith("xcb");
    if (onX11 && !displayReachable()) {
        std::fprintf(stderr, "Pictro: cannot connect to the X display \"%s\"; start Pictro inside an X11 session\n",
                     qgetenv("DISPLAY").constData());
        return 1;
    }
    if (qpa.isEmpty()) qputenv("QT_QPA_PLATFORM", "xcb");
    Settings::registerDefaults();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pictro"));
    QApplication::setDesktopFileName(QStringLiteral("pictro"));
    QApplication::setQuitOnLastWindowClosed(false);
#ifdef PICTRO_WITH_X11
    Platform::install(std::make_unique<X11Platform>());
#endif
    if (!Platform::isInstalled()) {
        std::fprintf(stderr, "Pictro: this build has no platform layer for this system\n");
        return 1;
    }
    QuitOnSignal quitOnSignal;
    AppDelegate delegate(Settings::shared(), Platform::current(), args);
    delegate.applicationDidFinishLaunching();
    const int status = app.exec();
    return status;
}

} // namespace

int main(int argc, char** argv) {
    const QStringList args = argumentList(argc, argv);
    const qsizetype selfTestIndex = args.indexOf(QStringLiteral("--selftest"));
    if (selfTestIndex >= 0) return runSelfTest(argc, argv, args, selfTestIndex);
    if (args.contains(QStringLiteral("--check-permissions"))) return printPermissions();
    return runApplication(argc, argv, args);
}
