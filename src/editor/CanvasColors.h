#pragma once

#include "editor/Annotation.h"

#include <QColor>

// The system colours the editor relies on by name. Annotations and the editor's colour start red;
// a highlight asked for in that red is drawn yellow instead (a red marker would hide what it marks).
namespace canvascolors {

inline QColor systemRed() {
    return Annotation::defaultColor();
}
inline QColor systemYellow() {
    return QColor(255, 204, 0);
}
// The selection outline.
inline QColor accent() {
    return QColor(0, 122, 255);
}

// Whether `color` is the system red, whatever colour model it was made in.
inline bool isSystemRed(const QColor& color) {
    return color.rgba() == systemRed().rgba();
}

} // namespace canvascolors
