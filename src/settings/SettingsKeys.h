#pragma once

#include <QVariant>

#include <array>

// Every settings key in one place. The registered keys carry their defaults; the others
// (screenshotsFolder, lastAreaRect and the hotkey_ keys) have meanings for when they are absent.
namespace keys {

inline constexpr char windowBGStyle[] = "windowBGStyle";
inline constexpr char windowBGColor[] = "windowBGColor";
inline constexpr char saveFormat[] = "saveFormat";
inline constexpr char downscaleRetina[] = "downscaleRetina";
inline constexpr char scrollMaxHeight[] = "scrollMaxHeight";
inline constexpr char scrollSpeed[] = "scrollSpeed";
inline constexpr char afterShow[] = "afterShow";
inline constexpr char afterCopy[] = "afterCopy";
inline constexpr char afterSave[] = "afterSave";
inline constexpr char afterCropShow[] = "afterCropShow";
inline constexpr char hidePreviewMode[] = "hidePreviewMode";
inline constexpr char ocrLanguage[] = "ocrLanguage";
inline constexpr char ocrRemoveLineBreaks[] = "ocrRemoveLineBreaks";
inline constexpr char hideMenubarIcon[] = "hideMenubarIcon";
inline constexpr char noSplash[] = "noSplash";
inline constexpr char alwaysOnTop[] = "alwaysOnTop";
inline constexpr char zoomReverseScroll[] = "zoomReverseScroll";
inline constexpr char scrollingReverse[] = "scrollingReverse";
inline constexpr char preferZoom100[] = "preferZoom100";
inline constexpr char escCopy[] = "escCopy";
inline constexpr char escSave[] = "escSave";
inline constexpr char confirmationStyle[] = "confirmationStyle";
inline constexpr char urlSchemeEnabled[] = "urlSchemeEnabled";
inline constexpr char diagnostics[] = "diagnostics";
inline constexpr char uploadProvider[] = "uploadProvider";

inline constexpr char screenshotsFolder[] = "screenshotsFolder";
inline constexpr char lastAreaRect[] = "lastAreaRect";

struct RegisteredDefault {
    const char* key;
    QVariant value;
};

// The 25 registered keys and their defaults.
const std::array<RegisteredDefault, 25>& registeredDefaults();

} // namespace keys
