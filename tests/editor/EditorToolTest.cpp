#include "editor/EditorTool.h"

#include <gtest/gtest.h>

TEST(EditorTool, EveryCaseRoundTripsThroughItsRawValueInToolbarOrder) {
    const char* order[] = {"select", "arrow", "line",    "rect", "oval", "highlight",
                           "pen",    "text",  "counter", "blur", "crop"};
    ASSERT_EQ(editortool::allCases().size(), std::size(order));
    for (size_t i = 0; i < std::size(order); ++i) {
        const EditorTool tool = editortool::allCases()[i];
        EXPECT_EQ(editortool::rawValue(tool), QLatin1String(order[i]));
        EXPECT_EQ(editortool::fromRaw(editortool::rawValue(tool)), tool);
    }
}

TEST(EditorTool, OnlyExactRawValuesMakeATool) {
    for (const char* raw : {"Arrow", "ARROW", "arrow ", " arrow", "", "pixelate", "rectangle", "select/move"})
        EXPECT_FALSE(editortool::fromRaw(QString::fromLatin1(raw)).has_value()) << raw;
}

TEST(EditorTool, TooltipsCarryTheShortcutLetterAndSymbolsNameTheIcons) {
    struct Row {
        EditorTool tool;
        const char* symbol;
        const char* tooltip;
    };
    const Row rows[] = {{EditorTool::select, "cursorarrow", "Select / Move (V)"},
                        {EditorTool::arrow, "arrow.up.right", "Arrow (A)"},
                        {EditorTool::line, "line.diagonal", "Line (L)"},
                        {EditorTool::rect, "rectangle", "Rectangle (R)"},
                        {EditorTool::oval, "circle", "Oval (O)"},
                        {EditorTool::highlight, "highlighter", "Highlighter (H)"},
                        {EditorTool::pen, "pencil.tip", "Pen (P)"},
                        {EditorTool::text, "textformat", "Text (T)"},
                        {EditorTool::counter, "1.circle", "Counter (N)"},
                        {EditorTool::blur, "drop.halffull", "Pixelate (B)"},
                        {EditorTool::crop, "crop", "Crop (C)"}};
    for (const Row& row : rows) {
        EXPECT_EQ(editortool::symbol(row.tool), QLatin1String(row.symbol));
        EXPECT_EQ(editortool::tooltip(row.tool), QString::fromUtf8(row.tooltip));
    }
}

TEST(EditorTool, OnlyTheFiveDrawingToolsMakeShapes) {
    using K = ShapeAnnotation::Kind;
    EXPECT_EQ(editortool::shapeKind(EditorTool::arrow), K::arrow);
    EXPECT_EQ(editortool::shapeKind(EditorTool::line), K::line);
    EXPECT_EQ(editortool::shapeKind(EditorTool::rect), K::rect);
    EXPECT_EQ(editortool::shapeKind(EditorTool::oval), K::oval);
    EXPECT_EQ(editortool::shapeKind(EditorTool::highlight), K::highlight);
    for (EditorTool t : {EditorTool::select, EditorTool::pen, EditorTool::text, EditorTool::counter,
                         EditorTool::blur, EditorTool::crop})
        EXPECT_FALSE(editortool::shapeKind(t).has_value()) << editortool::rawValue(t).toStdString();
}
