#pragma once

#include <QtGlobal>

#include <optional>

// The program's key codes name physical key positions. X identifies the same keys by keycode
// (evdev code + 8 under every current X server); so does xkb under Wayland, which is why Qt's
// native scan code of a key event is that keycode on both. Qt identifies them by Qt::Key.
// The program's modifier bits, as stored in a key combination's mask.
namespace keymodifiers {
inline constexpr quint32 command = 0x100; // Ctrl on a PC keyboard
inline constexpr quint32 shift = 0x200;
inline constexpr quint32 option = 0x800;   // Alt
inline constexpr quint32 control = 0x1000; // Super
} // namespace keymodifiers

namespace keycodes {

std::optional<quint32> toXKeycode(quint32 keyCode);
std::optional<quint32> fromXKeycode(quint32 xKeycode);
// Qt::Key value of an unshifted key (Qt::Key_A, Qt::Key_1, Qt::Key_Escape, …).
std::optional<quint32> fromQtKey(int qtKey);
// The Qt::Key of the key's unshifted symbol; none for keys without one.
std::optional<int> toQtKey(quint32 keyCode);

} // namespace keycodes
