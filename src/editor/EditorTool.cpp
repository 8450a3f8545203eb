#include "editor/EditorTool.h"

namespace editortool {
namespace {

struct ToolInfo {
    EditorTool tool;
    const char* raw;
    const char* symbol;
    const char* tooltip;
};

constexpr std::array<ToolInfo, 11> kTools{{
    {EditorTool::select, "select", "cursorarrow", "Select / Move (V)"},
    {EditorTool::arrow, "arrow", "arrow.up.right", "Arrow (A)"},
    {EditorTool::line, "line", "line.diagonal", "Line (L)"},
    {EditorTool::rect, "rect", "rectangle", "Rectangle (R)"},
    {EditorTool::oval, "oval", "circle", "Oval (O)"},
    {EditorTool::highlight, "highlight", "highlighter", "Highlighter (H)"},
    {EditorTool::pen, "pen", "pencil.tip", "Pen (P)"},
    {EditorTool::text, "text", "textformat", "Text (T)"},
    {EditorTool::counter, "counter", "1.circle", "Counter (N)"},
    {EditorTool::blur, "blur", "drop.halffull", "Pixelate (B)"},
    {EditorTool::crop, "crop", "crop", "Crop (C)"},
}};

// The table is indexed by the enumeration, so its rows must follow the enumeration's order.
constexpr bool tableFollowsEnumeration() {
    for (size_t i = 0; i < kTools.size(); ++i)
        if (static_cast<size_t>(kTools[i].tool) != i) return false;
    return true;
}
static_assert(tableFollowsEnumeration());

const ToolInfo& info(EditorTool tool) {
    return kTools[static_cast<size_t>(tool)];
}

} // namespace

const std::array<EditorTool, 11>& allCases() {
    static const std::array<EditorTool, 11> cases = [] {
        std::array<EditorTool, 11> all{};
        for (size_t i = 0; i < kTools.size(); ++i)
            all[i] = kTools[i].tool;
        return all;
    }();
    return cases;
}

QString rawValue(EditorTool tool) {
    return QString::fromLatin1(info(tool).raw);
}

std::optional<EditorTool> fromRaw(const QString& raw) {
    for (const ToolInfo& t : kTools)
        if (raw == QLatin1String(t.raw)) return t.tool;
    return std::nullopt;
}

QString symbol(EditorTool tool) {
    return QString::fromLatin1(info(tool).symbol);
}

QString tooltip(EditorTool tool) {
    return QString::fromLatin1(info(tool).tooltip);
}

std::optional<ShapeAnnotation::Kind> shapeKind(EditorTool tool) {
    switch (tool) {
    case EditorTool::arrow:
        return ShapeAnnotation::Kind::arrow;
    case EditorTool::line:
        return ShapeAnnotation::Kind::line;
    case EditorTool::rect:
        return ShapeAnnotation::Kind::rect;
    case EditorTool::oval:
        return ShapeAnnotation::Kind::oval;
    case EditorTool::highlight:
        return ShapeAnnotation::Kind::highlight;
    default:
        return std::nullopt;
    }
}

} // namespace editortool
