#pragma once

#include <memory>

class Screens;
class ScreenCapture;
class InputSynth;
class HotkeyService;
class WindowServer;
class Pasteboard;
class Workspace;

// The operating system behind small interfaces. `main` installs the real one; tests install
// the in-memory one. Features reach the system only through here.
class Platform {
public:
    virtual ~Platform();

    virtual Screens& screens() = 0;
    virtual ScreenCapture& screenCapture() = 0;
    virtual InputSynth& inputSynth() = 0;
    virtual HotkeyService& hotkeys() = 0;
    virtual WindowServer& windowServer() = 0;
    virtual Pasteboard& pasteboard() = 0;
    virtual Workspace& workspace() = 0;

    static Platform& current();
    static bool isInstalled();
    // Replaces the installed platform; the previous one is destroyed.
    static void install(std::unique_ptr<Platform> platform);
};
