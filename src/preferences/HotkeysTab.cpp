#include "preferences/HotkeysTab.h"

#include "preferences/PreferencesLayout.h"
#include "preferences/RecorderButton.h"
#include "platform/Platform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

HotkeysTab::HotkeysTab(Settings& settings, const PreferencesServices& services, QWidget* parent)
    : QWidget(parent) {
    QVBoxLayout* stack = prefslayout::tabStack(this, 12, 24);
    stack->addWidget(buildInstructions(services));
    if (QWidget* note = buildDesktopBindingNote()) stack->addWidget(note);
    stack->addWidget(prefslayout::divider());
    for (HotkeyAction action : hotkeyaction::allCases()) {
        QHBoxLayout* row = prefslayout::addRow(stack, hotkeyaction::label(action));
        auto* recorder = new RecorderButton(settings, services.reloadHotkeys, services.releaseHotkeys);
        recorder->setObjectName(hotkeyaction::settingsKey(action));
        recorder->setFixedSize(160, 24);
        recorder->setHotkeyAction(action);
        row->addWidget(recorder);
        m_recorders.push_back(recorder);
    }
}

QWidget* HotkeysTab::buildInstructions(const PreferencesServices& services) {
    auto* block = new QWidget;
    auto* lines = new QVBoxLayout(block);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(6);
    auto callout = [](QWidget* w) {
        prefslayout::makeCallout(w);
        return w;
    };
    lines->addWidget(callout(prefslayout::boldLabel(QStringLiteral("How to reassign default shortcuts"))));
    lines->addWidget(
        callout(new QLabel(QStringLiteral("1. Go to System Settings → Keyboard → Keyboard Shortcuts"))));
    auto* open = new QPushButton(QStringLiteral("Open System Settings"));
    open->setObjectName(QStringLiteral("openKeyboardSettings"));
    callout(open);
    if (services.openKeyboardSettings)
        connect(open, &QPushButton::clicked, this, [run = services.openKeyboardSettings] { run(); });
    else {
        open->setEnabled(false);
        open->setToolTip(QStringLiteral("No keyboard settings program was found on this desktop"));
    }
    lines->addWidget(open, 0, Qt::AlignLeft);
    lines->addWidget(
        callout(new QLabel(QStringLiteral("2. Select “Screenshots” and uncheck the system shortcuts"))));
    lines->addWidget(
        callout(new QLabel(QStringLiteral("3. Put ⌘⇧3 into Fullscreen and ⌘⇧4 into Area fields below"))));
    return block;
}

QWidget* HotkeysTab::buildDesktopBindingNote() {
    if (!Platform::isInstalled() || Platform::current().capabilities().has(Capability::globalHotkeysByKey))
        return nullptr;
    // On this desktop a program cannot take keys for itself: the shortcuts below are then bound
    // in the compositor's own configuration, to Pictro's command-line actions.
    auto* note = new QLabel(QStringLiteral(
        "This desktop does not let applications take global shortcuts, so the shortcuts below do not work "
        "on their own. Bind Pictro's actions in your compositor's configuration instead, for example in "
        "the sway configuration file:<br><tt>bindsym Ctrl+Shift+2 exec pictro --action area</tt>"));
    note->setObjectName(QStringLiteral("desktopBindingNote"));
    note->setTextFormat(Qt::RichText);
    note->setWordWrap(true);
    note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    prefslayout::makeCallout(note);
    return note;
}
