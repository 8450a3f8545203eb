#pragma once

#include "preferences/PreferencesServices.h"

#include <QWidget>

class BackgroundStylePicker;
class QCheckBox;
class QPushButton;
class SettingsBinder;

// Window-shot background, saving, scrolling capture and what follows a capture.
class GeneralTab : public QWidget {
    Q_OBJECT
  public:
    GeneralTab(SettingsBinder& binder, const PreferencesServices& services, QWidget* parent = nullptr);

    BackgroundStylePicker* backgroundPicker() const { return m_picker; }
    QPushButton* folderButton() const { return m_folderButton; }
    QCheckBox* launchAtStartupBox() const { return m_launchBox; }
    // The folder path the button stands for (shown shortened in the middle when long).
    QString folderLabel() const { return m_folderLabel; }

    static constexpr int folderButtonMaxWidth = 300;

  private:
    void addSavingRows(class QVBoxLayout* stack);
    void addScrollingRows(class QVBoxLayout* stack);
    void addAfterCaptureRows(class QVBoxLayout* stack);
    void pickFolder();
    void setFolderLabel(const QString& path);
    void launchAtStartupChanged(bool on);
    void showLaunchAtStartup();

    SettingsBinder& m_binder;
    PreferencesServices m_services;
    BackgroundStylePicker* m_picker = nullptr;
    QPushButton* m_folderButton = nullptr;
    QCheckBox* m_launchBox = nullptr;
    QString m_folderLabel;
};
