#include "editor/EditorToolbar.h"

#include "editor/EditorColorButton.h"
#include "platform/Symbols.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr int kGlyphSize = 18;

// The glyph drawn in one tint, sharp on screens of either density.
QIcon tinted(const QString& symbol, const QColor& tint) {
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap = Symbols::drawn(symbol, kGlyphSize * scale, tint);
        pixmap.setDevicePixelRatio(scale);
        icon.addPixmap(pixmap);
    }
    return icon;
}

QFrame* separator() {
    auto* line = new QFrame;
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Plain);
    line->setFixedHeight(22);
    QPalette palette = line->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 255, 255, 40));
    line->setPalette(palette);
    return line;
}

QLabel* label(const QString& text) {
    auto* l = new QLabel(text);
    QFont font = QGuiApplication::font();
    font.setPointSizeF(11);
    font.setWeight(QFont::Medium);
    l->setFont(font);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 255, 255, 140));
    l->setPalette(palette);
    return l;
}

} // namespace

QColor EditorToolbar::accentColor() {
    return QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
}

QColor EditorToolbar::idleTint() {
    return QColor(170, 170, 170);
}

EditorToolbar::EditorToolbar(const QColor& initialColor, QWidget* parent) : QWidget(parent) {
    setFixedHeight(barHeight);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor::fromRgbF(0.09f, 0.09f, 0.09f));
    setPalette(palette);
    // A window narrower than the strip cuts it off at the right rather than squeezing buttons of
    // fixed size over one another.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_row = new QWidget(this);

    auto* row = new QHBoxLayout(m_row);
    row->setContentsMargins(8, 0, 14, 0);
    row->setSpacing(2);
    // Room for the window's own buttons where a title bar is drawn over the toolbar. It is the
    // first thing given up when the window is narrower than the strip, before any label is cut.
    row->addSpacerItem(new QSpacerItem(62, 0, QSizePolicy::Preferred, QSizePolicy::Minimum));

    // The shortcut glyphs are the program's own display of its key combinations (⌘ is Ctrl here).
    const struct {
        Action action;
        const char* symbol;
        const char* tooltip;
    } actions[] = {
        {Action::copy, "doc.on.doc", "Copy (⌘C)"},
        {Action::save, "square.and.arrow.down", "Save (⌘S)"},
        {Action::pin, "pin", "Pin to screen (⌘P)"},
        {Action::recognizeText, "text.viewfinder", "Recognize text (OCR)"},
    };
    for (const auto& a : actions) {
        QToolButton* button = makeButton(QString::fromLatin1(a.symbol), QString::fromUtf8(a.tooltip));
        connect(button, &QToolButton::clicked, this,
                [this, action = a.action] { emit actionTriggered(action); });
        m_actions[a.action] = button;
        row->addWidget(button);
    }
    row->addWidget(separator());

    for (EditorTool tool : editortool::allCases()) {
        QToolButton* button = makeButton(editortool::symbol(tool), editortool::tooltip(tool));
        button->setObjectName(editortool::rawValue(tool));
        connect(button, &QToolButton::clicked, this, &EditorToolbar::toolTapped);
        m_tools[tool] = button;
        row->addWidget(button);
    }
    row->addWidget(separator());

    m_color = new EditorColorButton(initialColor);
    connect(m_color, &EditorColorButton::colorChanged, this, &EditorToolbar::colorChosen);
    row->addWidget(m_color);

    row->addStretch(1);
    m_sizeLabel = label(QString());
    row->addWidget(m_sizeLabel);
    row->addWidget(separator());
    m_zoomLabel = label(QStringLiteral("100%"));
    row->addWidget(m_zoomLabel);
}

QSize EditorToolbar::sizeHint() const {
    return QSize(m_row->sizeHint().width(), barHeight);
}

void EditorToolbar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_row->setGeometry(0, 0, std::max(width(), m_row->minimumSizeHint().width()), barHeight);
}

QToolButton* EditorToolbar::makeButton(const QString& symbol, const QString& tooltip) {
    auto* button = new QToolButton;
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(30, 28);
    button->setIconSize(QSize(kGlyphSize, kGlyphSize));
    button->setProperty("symbol", symbol);
    button->setProperty("tint", idleTint());
    button->setIcon(tinted(symbol, idleTint()));
    button->setToolTip(tooltip);
    button->setAccessibleName(tooltip);
    return button;
}

void EditorToolbar::toolTapped() {
    const auto* button = qobject_cast<QToolButton*>(sender());
    if (!button) return;
    if (const auto tool = editortool::fromRaw(button->objectName())) emit toolChosen(*tool);
}

void EditorToolbar::showCurrentTool(EditorTool current) {
    for (const auto& [tool, button] : m_tools) {
        const QColor tint = tool == current ? accentColor() : idleTint();
        if (button->property("tint").value<QColor>() == tint) continue;
        button->setProperty("tint", tint);
        button->setIcon(tinted(button->property("symbol").toString(), tint));
    }
}

void EditorToolbar::setSizeText(const QString& text) {
    m_sizeLabel->setText(text);
}

void EditorToolbar::setZoomText(const QString& text) {
    m_zoomLabel->setText(text);
}
