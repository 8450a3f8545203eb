#pragma once

#include "editor/ShapeAnnotation.h"

#include <QString>

#include <array>
#include <optional>

// The editor's tools, in toolbar order.
enum class EditorTool { select, arrow, line, rect, oval, highlight, pen, text, counter, blur, crop };

namespace editortool {

const std::array<EditorTool, 11>& allCases();
QString rawValue(EditorTool tool);
// Exact match of a raw value; anything else (including another capitalisation) is no tool.
std::optional<EditorTool> fromRaw(const QString& raw);
// The toolbar button's symbol name.
QString symbol(EditorTool tool);
// The toolbar tooltip; its parenthesised letter is the tool's keyboard shortcut.
QString tooltip(EditorTool tool);
// The shape a drawing tool makes; none for tools that make no shape.
std::optional<ShapeAnnotation::Kind> shapeKind(EditorTool tool);

} // namespace editortool
