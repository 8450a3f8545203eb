#include "platform/Log.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

Q_LOGGING_CATEGORY(lcApp, "pictro.app")
Q_LOGGING_CATEGORY(lcEditor, "pictro.editor")
Q_LOGGING_CATEGORY(lcHotkeys, "pictro.hotkeys")
Q_LOGGING_CATEGORY(lcHud, "pictro.hud")
Q_LOGGING_CATEGORY(lcOcr, "pictro.ocr")
Q_LOGGING_CATEGORY(lcOverlay, "pictro.overlay")
Q_LOGGING_CATEGORY(lcPlatform, "pictro.platform")
Q_LOGGING_CATEGORY(lcPreferences, "pictro.preferences")
Q_LOGGING_CATEGORY(lcSave, "pictro.save")
Q_LOGGING_CATEGORY(lcScrolling, "pictro.scrolling")
Q_LOGGING_CATEGORY(lcSettings, "pictro.settings")

namespace {

QtMessageHandler qtHandler = nullptr;

bool isPictroCategory(const char* category) {
    return category && std::strncmp(category, "pictro.", 7) == 0;
}

// Pictro's own lines keep their one-line "Pictro: …" form; everything else goes to Qt's handler.
void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!isPictroCategory(context.category)) {
        if (qtHandler)
            qtHandler(type, context, message);
        else
            std::fprintf(stderr, "%s\n", qUtf8Printable(message));
        return;
    }
    std::fprintf(stderr, "Pictro: %s\n", qUtf8Printable(message));
    std::fflush(stderr);
    if (type == QtFatalMsg) std::abort();
}

// Installed with the categories themselves, so every program that can log a Pictro line (the
// application, its tests, the benchmarks) prints it the same way.
void installHandler() {
    qtHandler = qInstallMessageHandler(handleMessage);
}
Q_CONSTRUCTOR_FUNCTION(installHandler)

} // namespace
