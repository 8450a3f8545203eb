#include "platform/x11/X11InputSynth.h"

#include "platform/x11/X11Connection.h"

bool X11InputSynth::accessibilityTrusted() const { return X11Connection::shared().isOpen(); }
