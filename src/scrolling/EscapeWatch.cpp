#include "scrolling/EscapeWatch.h"

#include "platform/InputSynth.h"

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
        {QStringLiteral("scrolling-escape"), QStringLiteral("Stop Scrolling Capture"), escKeyCode, 0}, hotkey);
    m_hotkeyHeld = status == 0;
    // Another program holding Esc does not stop the watch: the key state is still readable.
    if (!m_hotkeyHeld)
        qWarning("Pictro: Esc could not be held during the scrolling capture (status %d)", status);
    QCoreApplication::instance()->installEventFilter(this);
    m_poll.start();
}

void EscapeWatch::stop() {
    if (!m_watching) return;
    m_watching = false;
    m_poll.stop();
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
    if (m_hotkeyHeld) m_hotkeys.unregisterHotkey(hotkey);
    m_hotkeyHeld = false;
}

bool EscapeWatch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        if (m_onEscape) m_onEscape();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void EscapeWatch::poll() {
    if (m_input.keyIsDown(escKeyCode) && m_onEscape) m_onEscape();
}
