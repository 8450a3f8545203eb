#include "preferences/HotkeysTab.h"

#include "platform/Capabilities.h"
#include "platform/DesktopShortcuts.h"
#include "platform/Platform.h"
#include "preferences/PreferencesLayout.h"
#include "preferences/RecorderButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

HotkeysTab::HotkeysTab(Settings& settings, const PreferencesServices& services, QWidget* parent)
    : QWidget(parent), m_desktopShortcuts(services.desktopShortcuts) {
    QVBoxLayout* stack = prefslayout::tabStack(this, 12, 24);
    stack->addWidget(buildInstructions(services));
    if (m_desktopShortcuts)
        stack->addWidget(buildDesktopShortcutsNote(*m_desktopShortcuts));
    else if (QWidget* note = buildDesktopBindingNote())
        stack->addWidget(note);
    stack->addWidget(prefslayout::divider());
    for (HotkeyAction action : hotkeyaction::allCases()) {
        QHBoxLayout* row = prefslayout::addRow(stack, hotkeyaction::label(action));
        auto* recorder = new RecorderButton(settings, services.reloadHotkeys, services.releaseHotkeys);
        recorder->setObjectName(hotkeyaction::settingsKey(action));
        recorder->setFixedSize(160, 24);
        recorder->setHotkeyAction(action);
        if (m_desktopShortcuts) {
            // The desktop is offered the recorded key as its suggestion; which key fires the
            // action is the desktop's choice, shown beside it.
            recorder->setToolTip(QStringLiteral("Suggested to the desktop, which decides the key"));
            auto* bound = prefslayout::secondaryLabel(QString());
            bound->setObjectName(QStringLiteral("desktopTrigger_%1").arg(hotkeyaction::rawValue(action)));
            m_desktopTriggers.push_back(bound);
            row->addWidget(recorder);
            row->addWidget(bound);
        } else {
            // Where the desktop assigns global shortcuts itself, a key recorded here would grab nothing.
            if (!services.capabilities.has(Capability::globalHotkeysByKey)) {
                recorder->setEnabled(false);
                recorder->setToolTip(capability::unavailableReason(Capability::globalHotkeysByKey));
            }
            row->addWidget(recorder);
        }
        m_recorders.push_back(recorder);
    }
    if (m_desktopShortcuts) {
        showDesktopTriggers();
        connect(m_desktopShortcuts, &DesktopShortcuts::changed, this, &HotkeysTab::showDesktopTriggers);
    }
    // Says where a recorded combination came from; the other recorder already reads unbound.
    m_movedNote = prefslayout::secondaryLabel(QString(), true);
    m_movedNote->setObjectName(QStringLiteral("shortcutMovedNote"));
    m_movedNote->setWordWrap(true);
    stack->addWidget(m_movedNote);
    for (RecorderButton* recorder : m_recorders)
        connect(recorder, &RecorderButton::bindingMoved, this,
                [this](HotkeyAction previous, const KeyCombo& combo) {
                    m_movedNote->setText(QStringLiteral("%1 was the shortcut of “%2”, which now has none.")
                                             .arg(combo.label(), hotkeyaction::label(previous)));
                });
}

QWidget* HotkeysTab::buildInstructions(const PreferencesServices& services) {
    const keyboardsettings::Desktop& desktop = services.desktop;
    auto* block = new QWidget;
    auto* lines = new QVBoxLayout(block);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(6);
    auto callout = [](const QString& text, const QString& name) {
        auto* l = new QLabel(text);
        l->setObjectName(name);
        l->setWordWrap(true);
        prefslayout::makeCallout(l);
        return l;
    };
    auto* heading = prefslayout::boldLabel(QStringLiteral("Shortcuts held by the desktop"));
    prefslayout::makeCallout(heading);
    lines->addWidget(heading);
    const QString running = desktop.name.isEmpty()
                                ? QStringLiteral("Running: a window manager without a desktop environment.")
                                : QStringLiteral("Running: %1 (XDG_CURRENT_DESKTOP).").arg(desktop.name);
    lines->addWidget(callout(running, QStringLiteral("desktopName")));
    lines->addWidget(callout(desktop.screenshotKeys, QStringLiteral("desktopScreenshotKeys")));

    auto* open = new QPushButton(QStringLiteral("Open Keyboard Settings"));
    open->setObjectName(QStringLiteral("openKeyboardSettings"));
    prefslayout::makeCallout(open);
    auto* openRow = new QHBoxLayout;
    openRow->setSpacing(8);
    openRow->addWidget(open);
    if (services.openKeyboardSettings) {
        connect(open, &QPushButton::clicked, this, [run = services.openKeyboardSettings] { run(); });
    } else {
        const QString reason = keyboardsettings::unavailableReason(desktop);
        open->setEnabled(false);
        open->setToolTip(reason);
        auto* why = prefslayout::secondaryLabel(reason, true);
        why->setObjectName(QStringLiteral("keyboardSettingsUnavailable"));
        why->setWordWrap(true);
        openRow->addWidget(why, 1);
    }
    if (services.openKeyboardSettings) openRow->addStretch(1);
    lines->addLayout(openRow);

    const auto screen = hotkeyaction::defaultCombo(HotkeyAction::fullscreen);
    const auto area = hotkeyaction::defaultCombo(HotkeyAction::area);
    lines->addWidget(
        callout(QStringLiteral("Pictro's own defaults are %1 (screen) and %2 (area). To use Print "
                               "instead, free it there, then record it below.")
                    .arg(screen ? screen->label() : QString(), area ? area->label() : QString()),
                QStringLiteral("pictroDefaults")));
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

QWidget* HotkeysTab::buildDesktopShortcutsNote(DesktopShortcuts& shortcuts) {
    auto* block = new QWidget;
    auto* lines = new QVBoxLayout(block);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(6);
    auto* note = new QLabel(QStringLiteral(
        "This desktop binds global shortcuts itself. The keys recorded below are suggested to it; the key it "
        "bound to each action is shown beside them, and is changed in the desktop's own settings."));
    note->setObjectName(QStringLiteral("desktopShortcutsNote"));
    note->setWordWrap(true);
    prefslayout::makeCallout(note);
    lines->addWidget(note);
    // A button that opens nothing would leave the user guessing; Open Keyboard Settings remains.
    if (!shortcuts.hasDialog()) return block;
    auto* change = new QPushButton(QStringLiteral("Change in Desktop Settings…"));
    change->setObjectName(QStringLiteral("changeDesktopShortcuts"));
    prefslayout::makeCallout(change);
    connect(change, &QPushButton::clicked, &shortcuts, &DesktopShortcuts::changeInDesktop);
    auto* row = new QHBoxLayout;
    row->addWidget(change);
    row->addStretch(1);
    lines->addLayout(row);
    return block;
}

void HotkeysTab::showDesktopTriggers() {
    if (!m_desktopShortcuts) return;
    const auto& actions = hotkeyaction::allCases();
    for (size_t i = 0; i < m_desktopTriggers.size() && i < actions.size(); ++i) {
        const QString bound = m_desktopShortcuts->trigger(hotkeyaction::rawValue(actions[i]));
        m_desktopTriggers[i]->setText(bound.isEmpty() ? QStringLiteral("Desktop: none")
                                                      : QStringLiteral("Desktop: %1").arg(bound));
    }
}
