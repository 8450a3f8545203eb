#include "app/StatusMenu.h"

#include "app/ActionAvailability.h"
#include "app/AppDelegate.h"
#include "app/MenuShortcut.h"
#include "platform/Symbols.h"
#include "settings/Settings.h"

#include <QMenu>

namespace statusmenu {
namespace {

using Slot = void (AppDelegate::*)();

QAction* addItem(QMenu& menu, const QString& title, AppDelegate& delegate, Slot slot,
                 const char* symbol = nullptr, const QString& shortcut = {}) {
    QAction* action = menu.addAction(menuItemText(title, shortcut));
    QObject::connect(action, &QAction::triggered, &delegate, slot);
    if (symbol) action->setIcon(Symbols::icon(QString::fromLatin1(symbol)));
    action->setIconVisibleInMenu(symbol != nullptr);
    return action;
}

// Where the desktop, not Pictro, decides which key runs an action, Pictro's own combination may
// run nothing, so the menu names none.
QString bindingOf(const Settings& settings, HotkeyAction action, const Capabilities& capabilities) {
    if (!capabilities.has(Capability::globalHotkeysByKey)) return {};
    return menuShortcut(settings.combo(action));
}

// An item this desktop cannot serve stays in its place, disabled, and says why in its own text:
// trays that draw the menu themselves from its exported model (every Wayland tray) show no
// tooltips. Its shortcut is left out, since the shortcut cannot run it either.
QAction* gate(QAction* item, HotkeyAction action, const Capabilities& capabilities) {
    const QString reason = actionavailability::unavailableReason(action, capabilities);
    if (!reason.isEmpty()) {
        item->setEnabled(false);
        item->setText(menuItemTitle(item->text()) + QStringLiteral(" — ") + reason);
        item->setToolTip(reason);
    }
    return item;
}

void addMoreMenu(QMenu& menu, AppDelegate& d, const Settings& s, const Capabilities& c) {
    QMenu* more = menu.addMenu(Symbols::icon(QStringLiteral("ellipsis")), QStringLiteral("More"));
    more->setToolTipsVisible(true);
    addItem(*more, QStringLiteral("Repeat Area Capture"), d, &AppDelegate::menuRepeatArea,
            "rectangle.dashed.badge.record", bindingOf(s, HotkeyAction::repeatArea, c));
    gate(addItem(*more, QStringLiteral("Capture Active Window"), d, &AppDelegate::menuActiveWindow,
                 "macwindow.on.rectangle", bindingOf(s, HotkeyAction::activeWindow, c)),
         HotkeyAction::activeWindow, c);
    gate(addItem(*more, QStringLiteral("Capture Any Window"), d, &AppDelegate::menuAnyWindow,
                 "macwindow.badge.plus", bindingOf(s, HotkeyAction::anyWindow, c)),
         HotkeyAction::anyWindow, c);
    addItem(*more, QStringLiteral("Delayed Screenshot (3s)"), d, &AppDelegate::menuDelayed, "timer");
    gate(addItem(*more, QStringLiteral("Scrolling (Up)"), d, &AppDelegate::menuScrollingUp, "arrow.up.doc"),
         HotkeyAction::scrolling, c);
    more->addSeparator();
    addItem(*more, QStringLiteral("Open File"), d, &AppDelegate::menuOpenFile, "doc");
    addItem(*more, QStringLiteral("Load From Clipboard"), d, &AppDelegate::menuLoadClipboard,
            "doc.on.clipboard");
}

} // namespace

QMenu* build(AppDelegate& d, const Settings& s, const Capabilities& c) {
    auto* menu = new QMenu();
    menu->setTitle(QStringLiteral("Pictro"));
    menu->setToolTipsVisible(true);
    addItem(*menu, QStringLiteral("Reopen Pictro"), d, &AppDelegate::reopen, "arrow.uturn.forward.square");
    menu->addSeparator();
    addItem(*menu, QStringLiteral("Capture Screen"), d, &AppDelegate::menuCaptureScreen, "macwindow",
            bindingOf(s, HotkeyAction::fullscreen, c));
    addItem(*menu, QStringLiteral("Capture Area"), d, &AppDelegate::menuCaptureArea, "rectangle.dashed",
            bindingOf(s, HotkeyAction::area, c));
    gate(addItem(*menu, QStringLiteral("Scrolling Capture"), d, &AppDelegate::menuScrolling, "arrow.down.doc",
                 bindingOf(s, HotkeyAction::scrolling, c)),
         HotkeyAction::scrolling, c);
    addItem(*menu, QStringLiteral("Recognize Text/QR"), d, &AppDelegate::menuOCR, "text.viewfinder",
            bindingOf(s, HotkeyAction::ocr, c));
    addMoreMenu(*menu, d, s, c);
    menu->addSeparator();
    addItem(*menu, QStringLiteral("About Pictro"), d, &AppDelegate::openAbout);
    menu->addSeparator();
    QAction* launch = addItem(*menu, QStringLiteral("Launch at Startup"), d, &AppDelegate::toggleLaunch);
    launch->setCheckable(true);
    addItem(*menu, QStringLiteral("Settings"), d, &AppDelegate::openSettings, "gearshape",
            KeyCombo{43, KeyCombo::command}.label()); // the "," key
    addItem(*menu, QStringLiteral("Quit"), d, &AppDelegate::quit);
    return menu;
}

void refreshLaunchItem(QMenu& menu, bool launchAtLogin) {
    for (QAction* action : menu.actions())
        if (menuItemTitle(action->text()) == QLatin1String("Launch at Startup")) {
            action->setChecked(launchAtLogin);
            return;
        }
}

} // namespace statusmenu
