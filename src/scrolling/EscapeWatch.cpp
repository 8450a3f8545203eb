#include "scrolling/EscapeWatch.h"

#include "platform/InputSynth.h"
#include "platform/Log.h"

#include <QCoreApplication>
#include <QKeyEvent>

EscapeWatch::EscapeWatch(InputSynth& input, HotkeyService& hotkeys, std::function<void()> onEscape,
                         QObject* parent)
    : QObject(parent), m_input(input), m_hotkeys(hotkeys), m_onEscape(std::move(onEscape)) {
    m_poll.setInterval(pollMilliseconds);
    connect(&m_poll, &QTimer::timeout, this, &EscapeWatch::poll);
}

EscapeWatch::~EscapeWatch() {
    stop();
}

void EscapeWatch::start() {
    if (m_watching) return;
    m_watching = true;
    const int status = m_hotkeys.registerHotkey(
        {QStringLiteral("scrolling-escape"), QStringLiteral("Stop Scrolling Capture"), escKeyCode, 0, true},
        hotkey);
    m_hotkeyHeld = status == 0;
    // Another program holding a key does not stop the watch: the key state is still readable.
    if (!m_hotkeyHeld)
        qCWarning(lcScrolling, "Esc could not be held during the scrolling capture (status %d)", status);
    m_returnHeld =
        m_hotkeys.registerHotkey({QStringLiteral("scrolling-finish"),
                                  QStringLiteral("Finish Scrolling Capture"), returnKeyCode, 0, true},
                                 returnHotkey) == 0;
    QCoreApplication::instance()->installEventFilter(this);
    m_poll.start();
}

void EscapeWatch::stop() {
    if (!m_watching) return;
    m_watching = false;
    m_poll.stop();
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
    if (m_hotkeyHeld) m_hotkeys.unregisterHotkey(hotkey);
    if (m_returnHeld) m_hotkeys.unregisterHotkey(returnHotkey);
    m_hotkeyHeld = false;
    m_returnHeld = false;
}

bool EscapeWatch::eventFilter(QObject* watched, QEvent* event) {
    const auto isStopKey = [](int key) {
        return key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter;
    };
    if (event->type() == QEvent::KeyPress && isStopKey(static_cast<QKeyEvent*>(event)->key())) {
        if (m_onEscape) m_onEscape();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void EscapeWatch::poll() {
    const bool down = m_input.keyIsDown(escKeyCode) || m_input.keyIsDown(returnKeyCode) ||
                      m_input.keyIsDown(keypadEnterKeyCode);
    if (down && m_onEscape) m_onEscape();
}
