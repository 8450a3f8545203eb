#pragma once

#include "preferences/PreferencesServices.h"

class PreferencesWindow;

// The one preferences window: made on first show, hidden by closing and raised again by the next
// show, for the life of the application.
class PreferencesWindowController {
  public:
    // Shows the window over the shared settings, creating it on first use.
    static void show();

    // The application's start-at-login switch; until it is given, the check box stays disabled.
    // Takes effect for a window made after the call.
    static void setLoginItem(LoginItem item);
    // Replaces the services of a window yet to be made (tests).
    static void setServices(PreferencesServices services);

    // The window, once made.
    static PreferencesWindow* window();
    // Lets the window go (tests; the application keeps it until it quits).
    static void destroy();
};
