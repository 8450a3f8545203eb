#include "preferences/PreferencesLayout.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace prefslayout {

QVBoxLayout* tabStack(QWidget* tab, int spacing, int padding) {
    auto* stack = new QVBoxLayout(tab);
    stack->setSpacing(spacing);
    stack->setContentsMargins(padding, padding, padding, padding);
    stack->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return stack;
}

QHBoxLayout* addRow(QBoxLayout* stack, const QString& label) {
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    auto* title = new QLabel(label);
    title->setFixedWidth(rowLabelWidth);
    title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(title, 0, Qt::AlignBaseline);
    auto* content = new QHBoxLayout;
    content->setSpacing(12);
    row->addLayout(content);
    row->addStretch(1);
    stack->addLayout(row);
    return content;
}

QFrame* divider(int width) {
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    if (width > 0) line->setFixedWidth(width);
    return line;
}

void makeCallout(QWidget* widget) {
    QFont font = widget->font();
    font.setPointSizeF(font.pointSizeF() * 0.92);
    widget->setFont(font);
}

QLabel* secondaryLabel(const QString& text, bool callout) {
    auto* label = new QLabel(text);
    label->setForegroundRole(QPalette::PlaceholderText);
    if (callout) makeCallout(label);
    return label;
}

QLabel* boldLabel(const QString& text) {
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace prefslayout
