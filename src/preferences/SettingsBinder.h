#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QSlider;
class Settings;

// The stored texts of a choice (pop-up or radio group) and its labels, in picker order.
struct Choice {
    QStringList raws;
    QStringList labels;
    int fallback = 0; // shown when the stored text matches no raw value

    template <typename EnumTextT> static Choice of(const EnumTextT& text) {
        Choice c;
        for (auto value : text.allCases()) {
            c.raws << text.rawValue(value);
            c.labels << text.label(value);
        }
        c.fallback = static_cast<int>(text.fallback);
        return c;
    }
    int indexOf(const QString& stored) const;
};

// Ties controls to settings keys both ways: a control shows the stored value (or its default)
// when bound, writes at once on every user change, and follows the key when something else
// writes it (the tray menu, another control).
class SettingsBinder : public QObject {
    Q_OBJECT
  public:
    SettingsBinder(Settings& settings, QObject* parent);

    Settings& settings() const { return m_settings; }

    void bindCheckBox(QCheckBox* box, const QString& key);
    void bindComboBox(QComboBox* box, const QString& key, const Choice& choice);
    // The group's buttons are made here, one per choice, and added to the group.
    void bindRadioGroup(QButtonGroup* group, const QString& key, const Choice& choice);
    // An integer in the locale's number format; text that does not read as one is refused and
    // the field shows the stored value again.
    void bindIntegerField(QLineEdit* field, const QString& key);
    // A continuous 0.0 … 1.0 value on an integer slider of `steps` steps.
    void bindUnitSlider(QSlider* slider, const QString& key, int steps);

    // Calls `refresh` now and whenever `key` changes.
    void follow(const QString& key, std::function<void()> refresh);

  private:
    void keyChanged(const QString& key);

    Settings& m_settings;
    std::map<QString, std::vector<std::function<void()>>> m_followers;
};
