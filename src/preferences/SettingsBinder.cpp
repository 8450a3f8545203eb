#include "preferences/SettingsBinder.h"

#include "settings/Settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>

#include <cmath>

int Choice::indexOf(const QString& stored) const {
    const int i = static_cast<int>(raws.indexOf(stored));
    return i >= 0 ? i : fallback;
}

SettingsBinder::SettingsBinder(Settings& settings, QObject* parent) : QObject(parent), m_settings(settings) {
    // Queued when a write comes from another thread: controls are touched on the main thread only.
    connect(&m_settings, &Settings::changed, this, &SettingsBinder::keyChanged);
}

void SettingsBinder::follow(const QString& key, std::function<void()> refresh) {
    refresh();
    m_followers[key].push_back(std::move(refresh));
}

void SettingsBinder::keyChanged(const QString& key) {
    const auto it = m_followers.find(key);
    if (it == m_followers.end()) return;
    for (const auto& refresh : it->second)
        refresh();
}

void SettingsBinder::bindCheckBox(QCheckBox* box, const QString& key) {
    follow(key, [this, box, key] {
        const QSignalBlocker block(box);
        box->setChecked(m_settings.boolValue(key));
    });
    connect(box, &QCheckBox::toggled, this, [this, key](bool on) { m_settings.set(key, on); });
}

void SettingsBinder::bindComboBox(QComboBox* box, const QString& key, const Choice& choice) {
    box->clear();
    box->addItems(choice.labels);
    follow(key, [this, box, key, choice] {
        const QSignalBlocker block(box);
        box->setCurrentIndex(choice.indexOf(m_settings.stringValue(key)));
    });
    connect(box, &QComboBox::activated, this, [this, key, choice](int index) {
        if (index >= 0 && index < choice.raws.size()) m_settings.set(key, choice.raws[index]);
    });
}

void SettingsBinder::bindRadioGroup(QButtonGroup* group, const QString& key, const Choice& choice) {
    group->setExclusive(true);
    for (int i = 0; i < choice.labels.size(); ++i)
        group->addButton(new QRadioButton(choice.labels[i]), i);
    follow(key, [this, group, key, choice] {
        const QSignalBlocker block(group);
        if (QAbstractButton* b = group->button(choice.indexOf(m_settings.stringValue(key)))) {
            const QSignalBlocker blockButton(b);
            b->setChecked(true);
        }
    });
    connect(group, &QButtonGroup::idClicked, this, [this, key, choice](int id) {
        if (id >= 0 && id < choice.raws.size()) m_settings.set(key, choice.raws[id]);
    });
}

void SettingsBinder::bindIntegerField(QLineEdit* field, const QString& key) {
    auto show = [this, field, key] {
        const QSignalBlocker block(field);
        field->setText(QLocale().toString(m_settings.intValue(key)));
    };
    follow(key, show);
    connect(field, &QLineEdit::editingFinished, this, [this, field, key, show] {
        bool ok = false;
        const qint64 value = QLocale().toLongLong(field->text().trimmed(), &ok);
        if (!ok) {
            show();
            return;
        }
        if (!m_settings.isStored(key) || m_settings.intValue(key) != value) m_settings.set(key, value);
        show();
    });
}

void SettingsBinder::bindUnitSlider(QSlider* slider, const QString& key, int steps) {
    slider->setRange(0, steps);
    follow(key, [this, slider, key, steps] {
        const QSignalBlocker block(slider);
        slider->setValue(static_cast<int>(std::lround(m_settings.doubleValue(key) * steps)));
    });
    connect(slider, &QSlider::valueChanged, this,
            [this, key, steps](int v) { m_settings.set(key, static_cast<double>(v) / steps); });
}
