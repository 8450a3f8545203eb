#pragma once

#include "platform/Capabilities.h"

#include <QString>

#include <memory>

class Screens;
class ScreenCapture;
class InputSynth;
class HotkeyService;
class WindowServer;
class Pasteboard;
class Workspace;
class FloatingWindows;
class ScreenChanges;

// The operating system behind small interfaces. `main` installs the backend the session needs
// (see PlatformBackends); tests install the in-memory one. Features reach the system only through
// here, and ask `capabilities()` before offering what not every desktop allows.
class Platform {
  public:
    virtual ~Platform();

    // The backend's name as the command line spells it ("x11", "wayland", "fake").
    virtual QString name() const = 0;
    virtual Capabilities capabilities() const = 0;

    virtual Screens& screens() = 0;
    virtual ScreenCapture& screenCapture() = 0;
    virtual InputSynth& inputSynth() = 0;
    virtual HotkeyService& hotkeys() = 0;
    virtual WindowServer& windowServer() = 0;
    virtual Pasteboard& pasteboard() = 0;
    virtual Workspace& workspace() = 0;
    virtual FloatingWindows& floatingWindows() = 0;
    // Reports where the screen is drawn; none where the window system does not tell.
    virtual ScreenChanges* screenChanges() { return nullptr; }

    static Platform& current();
    static bool isInstalled();
    // The installed platform, shared: work that outlives the current call (a capture under way)
    // holds this, so installing another platform meanwhile cannot pull the services from under it.
    static std::shared_ptr<Platform> shared();
    // Replaces the installed platform; the previous one is destroyed once nothing holds it.
    static void install(std::unique_ptr<Platform> platform);
};
