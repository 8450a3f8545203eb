#include "platform/wayland/CompositorLoss.h"

#include "platform/Log.h"

#include <QString>

#include <cstdio>
#include <mutex>
#include <unistd.h>

namespace {

QtMessageHandler passOn = nullptr;

// What Qt's Wayland platform says just before it leaves: the connection broke, or the compositor
// ended it with a protocol error.
bool meansConnectionLost(const QString& message) {
    return message.startsWith(QLatin1String("The Wayland connection broke")) ||
           message.startsWith(QLatin1String("The Wayland connection experienced a fatal error"));
}

// Qt from 6.6 on, asked to, reconnects to a restarted compositor and goes on after saying so.
bool qtReconnects() {
    return QT_VERSION >= QT_VERSION_CHECK(6, 6, 0) && qEnvironmentVariableIsSet("QT_WAYLAND_RECONNECT");
}

void say(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (passOn)
        passOn(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qUtf8Printable(message));
}

void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!meansConnectionLost(message) || qtReconnects()) {
        say(type, context, message);
        return;
    }
    // Through the handler below, as a line of Pictro's platform layer. A session that ended is a
    // normal end; a connection the compositor closed over a protocol error is Pictro's fault.
    const QMessageLogContext own(nullptr, 0, nullptr, lcPlatform().categoryName());
    const bool sessionEnded = message.contains(QLatin1String("broke"));
    say(QtCriticalMsg, own,
        sessionEnded ? QStringLiteral(
                           "the Wayland compositor has gone (the session ended, or the compositor stopped); "
                           "Pictro quits")
                     : QStringLiteral("the Wayland compositor closed Pictro's connection (%1); Pictro quits")
                           .arg(message.section(QLatin1Char(':'), 1).trimmed()));
    std::fflush(stderr);
    ::_exit(sessionEnded ? 0 : 1);
}

} // namespace

namespace compositorloss {

void watch() {
    static std::once_flag installed;
    std::call_once(installed, [] { passOn = qInstallMessageHandler(handleMessage); });
}

} // namespace compositorloss
