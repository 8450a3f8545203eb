#include "app/AppCaptureFlows.h"
#include "app/AppDelegate.h"
#include "app/CommandLine.h"
#include "app/ImageReadLimit.h"
#include "app/MemoryPolicy.h"
#include "app/PlatformLoader.h"
#include "app/QuitOnSignal.h"
#include "app/SelfTest.h"
#include "app/SingleInstance.h"
#include "overlay/SelectionOverlay.h"
#include "platform/Platform.h"
#include "platform/PlatformBackends.h"
#include "platform/TimingMarks.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

QStringList argumentList(int argc, char** argv) {
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}

int runSelfTest(int argc, char** argv, const QString& givenFolder) {
    const QString folder =
        !givenFolder.isEmpty() ? givenFolder : QDir::tempPath() + QStringLiteral("/pictro-selftest");
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

int printPermissions(int argc, char** argv, const PlatformBackend* backend) {
    const bool reachable = backend && backend->displayReachable();
    if (reachable && backend->accessReport) {
        // The backend asks the session itself, through the connections Qt makes.
        platformloader::prepareQtPlatform(*backend);
        QGuiApplication app(argc, argv);
        for (const QString& line : backend->accessReport())
            std::printf("%s\n", qPrintable(line));
        return 0;
    }
    std::printf("screen-recording: %s\n", reachable ? "granted" : "NOT granted");
    std::printf("accessibility: %s\n", reachable ? "granted" : "NOT granted");
    return 0;
}

QStringList actionNames(const commandline::Invocation& invocation) {
    QStringList names;
    for (commandline::Action action : invocation.actions)
        names << commandline::actionName(action);
    return names;
}

// Actions, links, or a plain reopen go to the instance that already runs, if there is one.
singleinstance::Forward handToRunningInstance(const QString& socket,
                                              const commandline::Invocation& invocation) {
    if (invocation.actions.isEmpty()) return singleinstance::forward(socket, invocation.links);
    const singleinstance::Forward actions = singleinstance::forwardActions(socket, actionNames(invocation));
    if (actions != singleinstance::Forward::handed || invocation.links.isEmpty()) return actions;
    return singleinstance::forward(socket, invocation.links);
}

int runApplication(int argc, char** argv, const QStringList& args, const commandline::Invocation& invocation,
                   const PlatformBackend& backend) {
    platformloader::prepareQtPlatform(backend);
    const bool headless = qgetenv("QT_QPA_PLATFORM") != backend.qtPlatform;
    if (!headless && !backend.displayReachable()) {
        std::fprintf(stderr, "Pictro: %s\n", qPrintable(backend.unreachableMessage()));
        return 1;
    }
    const QString socket = singleinstance::socketPath();
    switch (handToRunningInstance(socket, invocation)) {
    case singleinstance::Forward::handed:
        return 0;
    case singleinstance::Forward::failed:
        std::fprintf(stderr, "Pictro: another instance holds %s but does not answer\n", qPrintable(socket));
        return 1;
    case singleinstance::Forward::noInstance:
        break;
    }
    Settings::registerDefaults();
    timingmarks::mark("launch: main");
    QApplication app(argc, argv);
    timingmarks::mark("launch: application made");
    QApplication::setApplicationName(QStringLiteral("Pictro"));
    QApplication::setDesktopFileName(QStringLiteral("pictro"));
    QApplication::setQuitOnLastWindowClosed(false);
    Platform::install(backend.create());
    timingmarks::mark("launch: platform installed");
    QuitOnSignal quitOnSignal;
    AppDelegate delegate(Settings::shared(), Platform::current(), args);
    AppCaptureFlows flows(delegate.history(), delegate.eventLog(), Settings::shared(), Platform::shared(),
                          beginSelection);
    SelectionOverlay::setCaptureErrorHandler(AppServices::handleCaptureError);
    delegate.setFlows(&flows);
    singleinstance::Server server;
    if (!server.listen(socket))
        std::fprintf(stderr, "Pictro: cannot listen on %s; links from other launches will not arrive\n",
                     qPrintable(socket));
    QObject::connect(&server, &singleinstance::Server::reopenRequested, &delegate, &AppDelegate::reopen);
    QObject::connect(&server, &singleinstance::Server::linksReceived, &delegate, &AppDelegate::openLinks);
    QObject::connect(&server, &singleinstance::Server::actionsReceived, &delegate, &AppDelegate::runActions);
    // After the launch has finished, which it does from the event loop.
    QObject::connect(
        &delegate, &AppDelegate::launchFinished, &delegate,
        [&delegate, &invocation] {
            if (!invocation.actions.isEmpty()) delegate.runActions(actionNames(invocation));
            if (!invocation.links.isEmpty()) delegate.openLinks(invocation.links);
        },
        Qt::SingleShotConnection);
    delegate.applicationDidFinishLaunching();
    const int status = app.exec();
    return status;
}

} // namespace

int main(int argc, char** argv) {
    memorypolicy::returnLargeBuffersToTheSystem();
    imagereadlimit::install();
    // Taken out before anything else reads the arguments: Qt would take the name for a plugin.
    const QString requestedPlatform = platformloader::takePlatformOption(argc, argv);
    const QStringList args = argumentList(argc, argv);
    const commandline::Invocation invocation = commandline::parse(args);
    switch (invocation.mode) {
    case commandline::Mode::selfTest:
        return runSelfTest(argc, argv, invocation.selfTestFolder);
    case commandline::Mode::help:
        std::fputs(qPrintable(commandline::helpText()), stdout);
        return 0;
    case commandline::Mode::version:
        std::printf("%s\n", qPrintable(commandline::versionText()));
        return 0;
    case commandline::Mode::usageError:
        std::fprintf(stderr, "%s\n", qPrintable(invocation.error));
        return 2;
    case commandline::Mode::checkPermissions:
    case commandline::Mode::application:
        break;
    }
    registerBuiltinBackends();
    const platformloader::Selection platform = platformloader::select(requestedPlatform);
    if (invocation.mode == commandline::Mode::checkPermissions)
        return printPermissions(argc, argv, platform.backend);
    if (!platform.backend) {
        std::fprintf(stderr, "Pictro: %s\n", qPrintable(platform.error));
        return 1;
    }
    return runApplication(argc, argv, args, invocation, *platform.backend);
}
