#pragma once

#include <QString>
#include <QtGlobal>

namespace portaltrigger {

// A key combination (the program's key code and modifier mask) as the shortcut portal's preferred
// trigger: modifiers CTRL, ALT, SHIFT and LOGO, then the key's keysym name in the default
// keyboard layout ("CTRL+SHIFT+1", "LOGO+Print", "CTRL+ALT+LOGO+o"). Empty for a key with no
// physical position or no symbol, which leaves the choice to the desktop.
QString fromCombo(quint32 keyCode, quint32 modifiers);

} // namespace portaltrigger
