#pragma once

// The preferences window's entry point. The window itself is not part of the program yet: until
// it is, showing it does nothing.
class PreferencesWindowController {
public:
    static void show();
};
