#include "preferences/PreferencesWindow.h"

#include "hud/ToastHUD.h"
#include "platform/Symbols.h"
#include "preferences/AdvancedTab.h"
#include "preferences/GeneralTab.h"
#include "preferences/HotkeysTab.h"
#include "preferences/InfoTabs.h"
#include "preferences/SettingsBinder.h"
#include "settings/Settings.h"

#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

PreferencesWindow::PreferencesWindow(Settings& settings, const PreferencesServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMinimizeButtonHint | Qt::CustomizeWindowHint) {
    setWindowTitle(QStringLiteral("Preferences"));
    m_binder = new SettingsBinder(settings, this);
    // Every change made here is written at once; when that fails the user hears it once, not on
    // every click.
    connect(&settings, &Settings::storeFailed, this, &PreferencesWindow::tellStoreFailure);
    m_tabs = new QTabWidget;
    m_tabs->setDocumentMode(true);
    m_general = new GeneralTab(*m_binder, services);
    auto* hotkeys = m_hotkeys = new HotkeysTab(settings, services);
    m_tabs->addTab(m_general, Symbols::icon(QStringLiteral("gearshape")), QStringLiteral("General"));
    m_tabs->addTab(hotkeys, Symbols::icon(QStringLiteral("keyboard")), QStringLiteral("Hotkeys"));
    m_tabs->addTab(infotabs::uploadingTab(*m_binder), Symbols::icon(QStringLiteral("icloud.and.arrow.up")),
                   QStringLiteral("Uploading"));
    m_tabs->addTab(new AdvancedTab(*m_binder), Symbols::icon(QStringLiteral("wand.and.stars")),
                   QStringLiteral("Advanced"));
    m_tabs->addTab(infotabs::aboutTab(), Symbols::icon(QStringLiteral("info.circle")),
                   QStringLiteral("About"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    connect(m_tabs, &QTabWidget::currentChanged, this, &PreferencesWindow::fitCurrentTab);
    fitCurrentTab();
}

void PreferencesWindow::fitCurrentTab() {
    QWidget* page = m_tabs->currentWidget();
    if (!page) return;
    // A tab widget is as tall as its tallest page; the window follows the current one instead.
    const int pageHeight = std::max(page->minimumHeight(), page->sizeHint().height());
    const int barHeight = m_tabs->tabBar()->sizeHint().height();
    setFixedSize(contentWidth, pageHeight + barHeight + 2);
}

void PreferencesWindow::tellStoreFailure() {
    if (m_storeFailureTold || !isVisible()) return;
    m_storeFailureTold = true;
    ToastHUD::show(QStringLiteral("Settings cannot be saved — changes last until Pictro quits"),
                   QStringLiteral("exclamationmark.triangle.fill"), 4.0);
}
