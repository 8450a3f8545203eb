#include "preferences/PreferencesWindowController.h"

void PreferencesWindowController::show() {}
