#pragma once

#include <QString>

class QBoxLayout;
class QFrame;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;
class QWidget;

// The shared look of the tabs: labelled rows, dividers and the secondary text colour.
namespace prefslayout {

inline constexpr int rowLabelWidth = 230;

// A tab's vertical stack: leading-aligned, `spacing` between items, `padding` on every side.
QVBoxLayout* tabStack(QWidget* tab, int spacing, int padding);

// A row: the label right-aligned in a 230-point box, then the content, then flexible space.
// The returned layout takes the content widgets.
QHBoxLayout* addRow(QBoxLayout* stack, const QString& label);

QFrame* divider(int width = 0);

// Text in the palette's secondary colour (placeholder text), optionally in the smaller callout size.
QLabel* secondaryLabel(const QString& text, bool callout = false);
QLabel* boldLabel(const QString& text);
void makeCallout(QWidget* widget);

} // namespace prefslayout
