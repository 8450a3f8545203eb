#pragma once

#include "app/CaptureSource.h"
#include "capture/CapturedImage.h"

#include <functional>
#include <optional>

class Settings;

// What result handling may do with a capture; the application wires these to the clipboard, the
// save service, the editor, the thumbnail, the toast and the event log.
struct ResultActions {
    std::function<void(const CapturedImage&)> copy;
    std::function<std::optional<QString>(const CapturedImage&)> save; // the written file's path
    std::function<void(const CapturedImage&)> openEditor;
    std::function<void(const CapturedImage&, std::function<void(const CapturedImage&)> onOpen)> showThumbnail;
    std::function<void(const QString& message, const QString& symbol, double seconds)> toast;
    std::function<void(const QString& message)> log;
};

// Applies the after-capture settings in their fixed order: log, copy, save, then show (editor or
// thumbnail) or confirm with a toast. A capture that would otherwise go nowhere is copied, so none
// is ever silently dropped.
void handleCaptureResult(const CapturedImage& image, CaptureSource source, const Settings& settings,
                         const ResultActions& actions);
