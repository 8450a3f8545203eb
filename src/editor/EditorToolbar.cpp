#include "editor/EditorToolbar.h"

#include "editor/EditorColorButton.h"
#include "platform/Symbols.h"
#include "settings/KeyCombo.h"

#include <QBoxLayout>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QToolButton>

#include <algorithm>
#include <optional>

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
    // The strip fits itself to any width it is given (fitToWidth), so the window never has to be
    // as wide as the strip's natural size.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_row = new QWidget(this);

    auto* row = new QHBoxLayout(m_row);
    row->setContentsMargins(8, 0, 14, 0);
    row->setSpacing(2);
    // Room for the window's own buttons where a title bar is drawn over the toolbar. It is the
    // first thing given up when the window is narrower than the strip.
    m_titleRoom = new QSpacerItem(titleRoomWidth, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    row->addSpacerItem(m_titleRoom);

    const struct {
        Action action;
        const char* symbol;
        const char* tooltip;
        std::optional<KeyCombo> keys; // the editor's own key for the action
    } actions[] = {
        {Action::copy, "doc.on.doc", "Copy", KeyCombo{8, KeyCombo::command}},
        {Action::save, "square.and.arrow.down", "Save", KeyCombo{1, KeyCombo::command}},
        {Action::pin, "pin", "Pin to screen", KeyCombo{35, KeyCombo::command}},
        {Action::recognizeText, "text.viewfinder", "Recognize text (OCR)", std::nullopt},
    };
    for (const auto& a : actions) {
        const QString tip = a.keys ? QStringLiteral("%1 (%2)").arg(QLatin1String(a.tooltip), a.keys->label())
                                   : QString::fromLatin1(a.tooltip);
        QToolButton* button = makeButton(QString::fromLatin1(a.symbol), tip);
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
    auto* readout = new QWidget;
    m_readout = new QBoxLayout(QBoxLayout::LeftToRight, readout);
    m_readout->setContentsMargins(0, 0, 0, 0);
    m_readout->setSpacing(2);
    m_sizeLabel = label(QString());
    m_sizeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_readout->addWidget(m_sizeLabel);
    m_readoutSeparator = separator();
    m_readout->addWidget(m_readoutSeparator);
    m_zoomLabel = label(QStringLiteral("100%"));
    m_zoomLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_readout->addWidget(m_zoomLabel);
    row->addWidget(readout);
    fitToWidth();
}

QSize EditorToolbar::sizeHint() const {
    return QSize(m_naturalWidth, barHeight);
}

void EditorToolbar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitToWidth();
}

int EditorToolbar::rowWidth() const {
    // The row keeps the readout's size from its last layout pass until told it changed; measure
    // what is set now, not what was shown before.
    m_readout->invalidate();
    m_readout->parentWidget()->updateGeometry();
    m_row->layout()->invalidate();
    return m_row->sizeHint().width();
}

void EditorToolbar::setButtonWidth(int w) {
    for (auto& [action, button] : m_actions)
        button->setFixedWidth(w);
    for (auto& [tool, button] : m_tools)
        button->setFixedWidth(w);
}

void EditorToolbar::setReadoutStacked(bool stacked) {
    m_readout->setDirection(stacked ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
    m_readout->setSpacing(stacked ? 0 : 2);
    m_readoutSeparator->setVisible(!stacked);
}

void EditorToolbar::fitToWidth() {
    // Everything at its natural size first; then, only as far as needed, in this order: the
    // title-bar room, the zoom label moved under the size label, narrower buttons, and at last
    // the size text shortened in the middle (its tooltip keeps the whole text).
    m_titleRoom->changeSize(titleRoomWidth, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    setButtonWidth(buttonWidth);
    setReadoutStacked(false);
    m_sizeLabel->setText(m_sizeText);
    m_sizeLabel->setToolTip(QString());
    m_naturalWidth = rowWidth();
    const int available = width();
    int over = rowWidth() - available;
    if (over > 0) {
        m_titleRoom->changeSize(std::max(0, titleRoomWidth - over), 0, QSizePolicy::Fixed,
                                QSizePolicy::Minimum);
        over = rowWidth() - available;
    }
    if (over > 0) {
        setReadoutStacked(true);
        over = rowWidth() - available;
    }
    for (int w = buttonWidth - 1; over > 0 && w >= minimumButtonWidth; --w) {
        setButtonWidth(w);
        over = rowWidth() - available;
    }
    if (over > 0 && !m_sizeText.isEmpty()) {
        const int room = std::max(0, m_sizeLabel->sizeHint().width() - over);
        m_sizeLabel->setText(m_sizeLabel->fontMetrics().elidedText(m_sizeText, Qt::ElideMiddle, room));
        m_sizeLabel->setToolTip(m_sizeText);
        rowWidth();
    }
    m_row->setGeometry(0, 0, std::max(available, m_row->sizeHint().width()), barHeight);
}

QToolButton* EditorToolbar::makeButton(const QString& symbol, const QString& tooltip) {
    auto* button = new QToolButton;
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(buttonWidth, 28);
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
    if (text == m_sizeText) return;
    m_sizeText = text;
    fitToWidth();
}

void EditorToolbar::setZoomText(const QString& text) {
    if (text == m_zoomLabel->text()) return;
    m_zoomLabel->setText(text);
    fitToWidth();
}
