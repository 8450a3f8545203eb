#include "platform/x11/X11ScreenCapture.h"

#include "platform/x11/X11Connection.h"

bool X11ScreenCapture::screenCaptureAllowed() const { return X11Connection::shared().isOpen(); }
