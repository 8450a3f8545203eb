#pragma once

#include <QtGlobal>

#include <optional>

// The program's key codes name physical key positions. X identifies the same keys by keycode
// (evdev code + 8 under every current X server); Qt identifies them by Qt::Key.
namespace keycodes {

std::optional<quint32> toXKeycode(quint32 keyCode);
std::optional<quint32> fromXKeycode(quint32 xKeycode);
// Qt::Key value of an unshifted key (Qt::Key_A, Qt::Key_1, Qt::Key_Escape, …).
std::optional<quint32> fromQtKey(int qtKey);
// The Qt::Key of the key's unshifted symbol; none for keys without one.
std::optional<int> toQtKey(quint32 keyCode);

} // namespace keycodes
