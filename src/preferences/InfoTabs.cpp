#include "preferences/InfoTabs.h"

#include "app/SessionNotices.h"
#include "platform/Platform.h"
#include "platform/Symbols.h"
#include "preferences/PreferencesLayout.h"
#include "preferences/SettingsBinder.h"
#include "settings/HotkeyAction.h"
#include "settings/SettingsKeys.h"

#include <QComboBox>
#include <QLabel>
#include <QStringList>
#include <QVBoxLayout>

namespace infotabs {

QWidget* uploadingTab(SettingsBinder& binder) {
    auto* tab = new QWidget;
    tab->setMinimumHeight(240);
    QVBoxLayout* stack = prefslayout::tabStack(tab, 16, 24);
    stack->addWidget(prefslayout::boldLabel(QStringLiteral("Image Uploading & Link Sharing")));
    auto* provider = new QComboBox;
    provider->setObjectName(QString::fromLatin1(keys::uploadProvider));
    provider->setFixedWidth(480);
    binder.bindComboBox(provider, keys::uploadProvider,
                        Choice{{QStringLiteral("disabled")}, {QStringLiteral("Disable Uploading")}, 0});
    stack->addWidget(provider);
    QLabel* note = prefslayout::secondaryLabel(QStringLiteral(
        "Pictro keeps every screenshot on this computer. Cloud upload providers can be plugged in here in a "
        "future version — nothing is ever sent anywhere by default."));
    note->setWordWrap(true);
    note->setMaximumWidth(460);
    stack->addWidget(note);
    stack->addStretch(1);
    return tab;
}

QString versionText() {
    const QString backend = Platform::isInstalled() ? Platform::current().name() : QString();
    return QStringLiteral("Version 1.0.3 — native for Linux on ") + sessionnotices::sessionName(backend);
}

QWidget* aboutTab() {
    auto* tab = new QWidget;
    tab->setMinimumHeight(280);
    QVBoxLayout* stack = prefslayout::tabStack(tab, 12, 40);
    stack->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    auto* icon = new QLabel;
    const double dpr = tab->devicePixelRatioF();
    QPixmap glyph = Symbols::drawn(QStringLiteral("camera.viewfinder"), static_cast<int>(42 * dpr),
                                   tab->palette().color(QPalette::Highlight));
    glyph.setDevicePixelRatio(dpr);
    icon->setPixmap(glyph);
    stack->addWidget(icon, 0, Qt::AlignHCenter);

    auto* name = prefslayout::boldLabel(QStringLiteral("Pictro"));
    QFont title = name->font();
    title.setPointSizeF(title.pointSizeF() * 1.6);
    name->setFont(title);
    stack->addWidget(name, 0, Qt::AlignHCenter);

    QLabel* version = prefslayout::secondaryLabel(versionText());
    version->setObjectName(QStringLiteral("version"));
    stack->addWidget(version, 0, Qt::AlignHCenter);
    stack->addWidget(prefslayout::divider(300), 0, Qt::AlignHCenter);

    // The built-in shortcuts, as a reminder of where to start; the Hotkeys tab has the live ones.
    QStringList shortcuts;
    const std::pair<HotkeyAction, const char*> named[] = {{HotkeyAction::fullscreen, "screen"},
                                                          {HotkeyAction::area, "area"},
                                                          {HotkeyAction::ocr, "text and QR"}};
    for (const auto& [action, what] : named)
        if (const auto combo = hotkeyaction::defaultCombo(action))
            shortcuts << QStringLiteral("%1 %2").arg(combo->label(), QLatin1String(what));
    QLabel* defaults = prefslayout::secondaryLabel(shortcuts.join(QStringLiteral(" · ")), true);
    defaults->setObjectName(QStringLiteral("defaultShortcuts"));
    stack->addWidget(defaults, 0, Qt::AlignHCenter);
    return tab;
}

} // namespace infotabs
