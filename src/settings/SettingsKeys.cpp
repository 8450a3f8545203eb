#include "settings/SettingsKeys.h"

namespace keys {

const std::array<RegisteredDefault, 25>& registeredDefaults() {
    static const std::array<RegisteredDefault, 25> table{{
        {windowBGStyle, QStringLiteral("transparent")},
        {windowBGColor, QStringLiteral("#FFFFFF")},
        {saveFormat, QStringLiteral("auto")},
        {downscaleRetina, false},
        {scrollMaxHeight, 20000},
        {scrollSpeed, 0.6},
        {afterShow, true},
        {afterCopy, false},
        {afterSave, false},
        {afterCropShow, QStringLiteral("editor")},
        {hidePreviewMode, QStringLiteral("manual")},
        {ocrLanguage, QStringLiteral("englishPlus")},
        {ocrRemoveLineBreaks, false},
        {hideMenubarIcon, false},
        {noSplash, false},
        {alwaysOnTop, false},
        {zoomReverseScroll, false},
        {scrollingReverse, false},
        {preferZoom100, true},
        {escCopy, true},
        {escSave, false},
        {confirmationStyle, QStringLiteral("custom")},
        {urlSchemeEnabled, false},
        {diagnostics, true},
        {uploadProvider, QStringLiteral("disabled")},
    }};
    return table;
}

} // namespace keys
