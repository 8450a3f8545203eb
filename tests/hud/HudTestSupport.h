#pragma once

#include "settings/Settings.h"

class FakePlatform;

namespace hudtest {

// The shared settings, kept in a private folder for the whole test program, defaults registered.
// Must be the first use of Settings::shared() in the program.
Settings& isolatedSettings();

// A fake platform with one 1440 × 900 screen at scale 2 whose visible frame leaves out a
// 30-point panel at the bottom.
FakePlatform& installOneScreen();

// Hides whatever toast and thumbnail are left and lets their windows go.
void clearHuds();

} // namespace hudtest
