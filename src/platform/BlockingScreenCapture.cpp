#include "platform/ScreenCapture.h"

#include <QtConcurrent>

// The object outlives the read: whoever installed the backend keeps it alive until every future
// it handed out has finished (the capture engine holds the platform in its continuation).
QFuture<PixelsOrError> BlockingScreenCapture::captureDisplay(const ScreenInfo& screen) {
    return QtConcurrent::run([this, screen] { return readDisplay(screen); });
}

QFuture<PixelsOrError> BlockingScreenCapture::captureWindow(quint32 windowID) {
    return QtConcurrent::run([this, windowID] { return readWindow(windowID); });
}
