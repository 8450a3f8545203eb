#pragma once

#include <QColor>

// The two system colours the editor relies on by name: annotations start red, and a highlight
// asked for in red is drawn yellow instead (a red highlighter would hide what it marks).
namespace canvascolors {

inline QColor systemRed() { return QColor(255, 59, 48); }
inline QColor systemYellow() { return QColor(255, 204, 0); }

} // namespace canvascolors
