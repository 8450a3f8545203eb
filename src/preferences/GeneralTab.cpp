#include "preferences/GeneralTab.h"

#include "preferences/BackgroundStylePicker.h"
#include "preferences/PreferencesLayout.h"
#include "preferences/SettingsBinder.h"
#include "settings/Settings.h"
#include "settings/SettingsEnums.h"
#include "settings/SettingsKeys.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

using prefslayout::addRow;

GeneralTab::GeneralTab(SettingsBinder& binder, const PreferencesServices& services, QWidget* parent)
    : QWidget(parent), m_binder(binder), m_services(services) {
    QVBoxLayout* stack = prefslayout::tabStack(this, 14, 24);
    m_picker = new BackgroundStylePicker(binder, services.chooseColor);
    stack->addWidget(m_picker);
    stack->addWidget(prefslayout::divider());
    addSavingRows(stack);
    stack->addWidget(prefslayout::divider());
    addScrollingRows(stack);
    stack->addWidget(prefslayout::divider());
    addAfterCaptureRows(stack);
}

void GeneralTab::addSavingRows(QVBoxLayout* stack) {
    m_folderButton = new QPushButton;
    m_folderButton->setObjectName(QString::fromLatin1(keys::screenshotsFolder));
    m_folderButton->setMaximumWidth(folderButtonMaxWidth);
    connect(m_folderButton, &QPushButton::clicked, this, &GeneralTab::pickFolder);
    addRow(stack, QStringLiteral("Screenshots folder"))->addWidget(m_folderButton);
    setFolderLabel(m_binder.settings().screenshotsFolder());

    auto* format = new QButtonGroup(this);
    format->setObjectName(QString::fromLatin1(keys::saveFormat));
    m_binder.bindRadioGroup(format, keys::saveFormat, Choice::of(saveFormatText));
    QHBoxLayout* formatRow = addRow(stack, QStringLiteral("Save format"));
    for (QAbstractButton* b : format->buttons())
        formatRow->addWidget(b);

    auto* downscale = new QCheckBox(QStringLiteral("Downscale to 1× when saving"));
    downscale->setObjectName(QString::fromLatin1(keys::downscaleRetina));
    m_binder.bindCheckBox(downscale, keys::downscaleRetina);
    downscale->setToolTip(
        QStringLiteral("A HiDPI screen (scale 2×) gives captures two pixels per point; saved "
                       "and copied images then keep one pixel per point"));
    addRow(stack, QStringLiteral("Resize HiDPI screenshots"))->addWidget(downscale);
}

void GeneralTab::addScrollingRows(QVBoxLayout* stack) {
    auto* height = new QLineEdit;
    height->setObjectName(QString::fromLatin1(keys::scrollMaxHeight));
    height->setFixedWidth(90);
    m_binder.bindIntegerField(height, keys::scrollMaxHeight);
    QHBoxLayout* heightRow = addRow(stack, QStringLiteral("Scrolling screenshot max height"));
    heightRow->setSpacing(6);
    heightRow->addWidget(height);
    heightRow->addWidget(prefslayout::secondaryLabel(QStringLiteral("px")));

    auto* speed = new QSlider(Qt::Horizontal);
    speed->setObjectName(QString::fromLatin1(keys::scrollSpeed));
    speed->setFixedWidth(240);
    m_binder.bindUnitSlider(speed, keys::scrollSpeed, 1000);
    addRow(stack, QStringLiteral("Scrolling screenshot speed"))->addWidget(speed);
}

void GeneralTab::addAfterCaptureRows(QVBoxLayout* stack) {
    m_launchBox = new QCheckBox(QStringLiteral("Launch at startup"));
    m_launchBox->setObjectName(QStringLiteral("launchAtStartup"));
    m_launchBox->setEnabled(m_services.loginItem.isEnabled && m_services.loginItem.set);
    showLaunchAtStartup();
    connect(m_launchBox, &QCheckBox::toggled, this, &GeneralTab::launchAtStartupChanged);
    addRow(stack, QStringLiteral("Autostart"))->addWidget(m_launchBox);

    QHBoxLayout* after = addRow(stack, QStringLiteral("After screenshot"));
    const std::pair<const char*, const char*> boxes[] = {
        {"Show", keys::afterShow}, {"Copy", keys::afterCopy}, {"Save", keys::afterSave}};
    for (const auto& [label, key] : boxes) {
        auto* box = new QCheckBox(QString::fromLatin1(label));
        box->setObjectName(QString::fromLatin1(key));
        m_binder.bindCheckBox(box, key);
        after->addWidget(box);
    }

    auto* cropShow = new QButtonGroup(this);
    cropShow->setObjectName(QString::fromLatin1(keys::afterCropShow));
    m_binder.bindRadioGroup(cropShow, keys::afterCropShow, Choice::of(afterCropShowText));
    QHBoxLayout* cropRow = addRow(stack, QStringLiteral("After Area Crop, show"));
    for (QAbstractButton* b : cropShow->buttons())
        cropRow->addWidget(b);

    auto* hide = new QComboBox;
    hide->setObjectName(QString::fromLatin1(keys::hidePreviewMode));
    hide->setFixedWidth(220);
    m_binder.bindComboBox(hide, keys::hidePreviewMode, Choice::of(hidePreviewModeText));
    addRow(stack, QStringLiteral("Hide preview thumbnail"))->addWidget(hide);
}

void GeneralTab::setFolderLabel(const QString& path) {
    m_folderLabel = path;
    // The button's frame and padding take some of the 300 points.
    const int room = folderButtonMaxWidth - 24;
    m_folderButton->setText(m_folderButton->fontMetrics().elidedText(path, Qt::ElideMiddle, room));
    m_folderButton->setToolTip(path);
}

void GeneralTab::pickFolder() {
    if (!m_services.chooseFolder) return;
    const auto chosen = m_services.chooseFolder(window(), m_binder.settings().screenshotsFolder());
    if (!chosen || chosen->isEmpty()) return;
    m_binder.settings().set(keys::screenshotsFolder, *chosen);
    setFolderLabel(*chosen);
}

void GeneralTab::launchAtStartupChanged(bool on) {
    if (m_services.loginItem.set) m_services.loginItem.set(on);
    // The real state, so a refused registration shows as off again.
    showLaunchAtStartup();
}

void GeneralTab::showLaunchAtStartup() {
    const QSignalBlocker block(m_launchBox);
    m_launchBox->setChecked(m_services.loginItem.isEnabled && m_services.loginItem.isEnabled());
}
