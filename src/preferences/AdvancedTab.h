#pragma once

#include <QWidget>

class SettingsBinder;

// Text recognition, tray icon, editor and link options.
class AdvancedTab : public QWidget {
    Q_OBJECT
  public:
    explicit AdvancedTab(SettingsBinder& binder, QWidget* parent = nullptr);
};
