#pragma once

#include "settings/HotkeyAction.h"

#include <QPushButton>

#include <functional>
#include <optional>

class Settings;

// A push button that shows one action's global shortcut. A click on a set shortcut clears it; a
// click on an empty one waits for the next key press, which becomes the shortcut (Escape
// cancels, and so does leaving the button). A combination another action holds moves to this
// one and leaves the other unbound, so one key never fires two actions. Every change is stored
// at once and the global hotkeys are registered again.
class RecorderButton : public QPushButton {
    Q_OBJECT
  public:
    // `releaseHotkeys` lets go of the global hotkeys while a recording runs; `reloadHotkeys`
    // registers them again from the settings.
    RecorderButton(Settings& settings, std::function<void()> reloadHotkeys,
                   std::function<void()> releaseHotkeys, QWidget* parent = nullptr);

    std::optional<HotkeyAction> hotkeyAction() const { return m_action; }
    void setHotkeyAction(std::optional<HotkeyAction> action);
    bool isRecording() const { return m_recording; }

    void refreshTitle();

    static QString titleFor(bool recording, const std::optional<KeyCombo>& binding);

  signals:
    // `combo` was taken from `previous`, which has no shortcut now.
    void bindingMoved(HotkeyAction previous, const KeyCombo& combo);

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void startRecording();
    // Ends a recording with the key press; true when the press was taken.
    bool finishRecording(const QKeyEvent& event);
    void store(const QString& encoded);
    void cancelRecording();
    std::optional<KeyCombo> binding() const;
    // The other action whose effective binding is `combo`, if any.
    std::optional<HotkeyAction> holderOf(const KeyCombo& combo) const;
    // Draws the clear mark by hand where the font has no glyph for it.
    void paintClearMark(class QPainter& painter, const QRectF& box) const;

    Settings& m_settings;
    std::function<void()> m_reloadHotkeys;
    std::function<void()> m_releaseHotkeys;
    std::optional<HotkeyAction> m_action;
    bool m_recording = false;
};
