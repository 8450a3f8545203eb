#include "preferences/BackgroundStylePicker.h"

#include "platform/Symbols.h"
#include "preferences/BGStyleCard.h"
#include "preferences/SettingsBinder.h"
#include "settings/HexColor.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

BackgroundStylePicker::BackgroundStylePicker(SettingsBinder& binder, ColorWell::Chooser chooseColor,
                                             QWidget* parent)
    : QWidget(parent), m_binder(binder) {
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(10);
    stack->addWidget(buildHeading());

    auto* row = new QHBoxLayout;
    row->setSpacing(14);
    for (WindowBGStyle style : windowBGStyleText.allCases()) {
        auto* card = new BGStyleCard(style);
        connect(card, &BGStyleCard::clicked, this, [this](WindowBGStyle chosen) {
            m_binder.settings().set(keys::windowBGStyle, windowBGStyleText.rawValue(chosen));
        });
        m_cards.push_back(card);
        row->addWidget(card);
    }
    row->addStretch(1);
    stack->addLayout(row);
    stack->addWidget(buildColorRow(std::move(chooseColor)));

    m_binder.follow(keys::windowBGStyle, [this] { showStoredStyle(); });
    m_binder.follow(keys::windowBGColor, [this] { showStoredColor(); });
}

QWidget* BackgroundStylePicker::buildHeading() {
    auto* heading = new QWidget;
    auto* line = new QHBoxLayout(heading);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(6);
    line->addWidget(new QLabel(QStringLiteral("Window Screenshot Background")));
    auto* help = new QLabel;
    const int size = help->fontMetrics().height();
    help->setPixmap(Symbols::drawn(QStringLiteral("questionmark.circle"), size,
                                   palette().color(QPalette::PlaceholderText)));
    help->setToolTip(QStringLiteral(
        "The backdrop drawn behind Capture Active/Any Window shots. Hover a preview for details."));
    line->addWidget(help);
    line->addStretch(1);
    return heading;
}

QWidget* BackgroundStylePicker::buildColorRow(ColorWell::Chooser chooseColor) {
    m_colorRow = new QWidget;
    auto* line = new QHBoxLayout(m_colorRow);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(8);
    line->addWidget(new QLabel(QStringLiteral("Backdrop color:")));
    m_well = new ColorWell(std::move(chooseColor));
    line->addWidget(m_well);
    line->addStretch(1);
    // Hidden wells keep their room, so choosing a style never moves the rest of the tab.
    QSizePolicy policy = m_colorRow->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    m_colorRow->setSizePolicy(policy);
    connect(m_well, &ColorWell::colorPicked, this, [this](const QColor& color) {
        m_binder.settings().set(keys::windowBGColor, hexcolor::hexString(color));
    });
    return m_colorRow;
}

void BackgroundStylePicker::showStoredStyle() {
    // An unknown stored text selects no card (the typed getter's fallback is for composing only).
    const auto stored = windowBGStyleText.fromRaw(m_binder.settings().stringValue(keys::windowBGStyle));
    for (BGStyleCard* card : m_cards)
        card->setSelected(stored && card->style() == *stored);
    const bool solid = stored == WindowBGStyle::solid;
    m_colorRow->setVisible(solid);
    m_well->setEnabled(solid);
}

void BackgroundStylePicker::showStoredColor() {
    const QColor color = m_binder.settings().windowBGColor();
    m_well->showColor(color);
    for (BGStyleCard* card : m_cards)
        card->setSolidColor(color);
}
