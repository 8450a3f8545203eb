#pragma once

#include "platform/PlatformBackends.h"

#include <QString>

// Picks and starts the platform backend of this launch. Kept apart from the rest of `main` so
// the command line can grow without touching it.
namespace platformloader {

// Removes "--platform NAME" / "--platform=NAME" from the arguments (Qt would take the name for a
// platform plugin of its own) and returns NAME; empty without the option.
QString takePlatformOption(int& argc, char** argv);

struct Selection {
    const PlatformBackend* backend = nullptr;
    QString error; // one line for the log when backend is null
};

// The backend for this session, from the request (the option, else PICTRO_PLATFORM) and the
// session variables; the registered backends are the ones this build contains.
Selection select(const QString& requested);

// Points Qt at the backend's platform plugin; call before the application object exists.
void prepareQtPlatform(const PlatformBackend& backend);

} // namespace platformloader
