#include "preferences/RecorderButton.h"

#include "settings/Settings.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

constexpr quint32 escapeKeyCode = 53;
constexpr char16_t clearMark = u'\u24E7';

// Held alone, a modifier is part of the combination still being typed, not a key of its own.
bool isModifierKey(int key) {
    switch (key) {
    case Qt::Key_Control:
    case Qt::Key_Shift:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

} // namespace

RecorderButton::RecorderButton(Settings& settings, std::function<void()> reloadHotkeys,
                               std::function<void()> releaseHotkeys, QWidget* parent)
    : QPushButton(parent), m_settings(settings), m_reloadHotkeys(std::move(reloadHotkeys)),
      m_releaseHotkeys(std::move(releaseHotkeys)) {
    setFocusPolicy(Qt::StrongFocus);
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &RecorderButton::startRecording);
    // A binding written elsewhere (another recorder, a hand-edited file) shows up at once.
    connect(&m_settings, &Settings::changed, this, [this](const QString& key) {
        if (m_action && key == hotkeyaction::settingsKey(*m_action) && !m_recording) refreshTitle();
    });
    refreshTitle();
}

void RecorderButton::setHotkeyAction(std::optional<HotkeyAction> action) {
    m_action = action;
    refreshTitle();
}

std::optional<KeyCombo> RecorderButton::binding() const {
    return m_action ? m_settings.combo(*m_action) : std::nullopt;
}

QString RecorderButton::titleFor(bool recording, const std::optional<KeyCombo>& binding) {
    if (recording) return QStringLiteral("Type shortcut…");
    if (!binding) return QStringLiteral("Record Shortcut");
    return binding->label() + QStringLiteral("   ") + QChar(clearMark);
}

void RecorderButton::refreshTitle() {
    setText(titleFor(m_recording, binding()));
}

void RecorderButton::startRecording() {
    if (!m_recording && m_action && binding()) {
        // An explicit unbinding, which also keeps a built-in default from coming back.
        store(QString());
        return;
    }
    m_recording = true;
    // A combination bound to any action is grabbed system-wide and would fire that action
    // instead of reaching this button: the grabs are let go until the recording ends.
    if (m_releaseHotkeys) m_releaseHotkeys();
    refreshTitle();
    setFocus(Qt::OtherFocusReason);
}

void RecorderButton::cancelRecording() {
    m_recording = false;
    if (m_reloadHotkeys) m_reloadHotkeys();
    refreshTitle();
}

void RecorderButton::store(const QString& encoded) {
    m_settings.set(hotkeyaction::settingsKey(*m_action), encoded);
    if (m_reloadHotkeys) m_reloadHotkeys();
    refreshTitle();
}

bool RecorderButton::finishRecording(const QKeyEvent& event) {
    if (isModifierKey(event.key())) return true; // still recording
    const auto combo = KeyCombo::fromKeyEvent(event);
    // Escape cancels; a key with no place in the key table cannot be stored, so it only ends the
    // recording too.
    if (!combo || combo->keyCode == escapeKeyCode || !m_action) {
        cancelRecording();
        return true;
    }
    m_recording = false;
    const auto holder = holderOf(*combo);
    // The holder lets go before the hotkeys are registered again, so no moment has both.
    if (holder) m_settings.set(hotkeyaction::settingsKey(*holder), QString());
    store(combo->encoded());
    if (holder) emit bindingMoved(*holder, *combo);
    return true;
}

std::optional<HotkeyAction> RecorderButton::holderOf(const KeyCombo& combo) const {
    for (HotkeyAction other : hotkeyaction::allCases())
        if (other != m_action && m_settings.combo(other) == combo) return other;
    return std::nullopt;
}

bool RecorderButton::event(QEvent* e) {
    if (m_recording) {
        // Take every key while recording: shortcuts of the window, Tab's focus moves and
        // Escape would otherwise see the press first.
        if (e->type() == QEvent::ShortcutOverride) {
            e->accept();
            return true;
        }
        if (e->type() == QEvent::KeyPress) {
            finishRecording(*static_cast<QKeyEvent*>(e));
            e->accept();
            return true;
        }
    }
    return QPushButton::event(e);
}

void RecorderButton::keyPressEvent(QKeyEvent* event) {
    if (m_recording && finishRecording(*event)) return;
    QPushButton::keyPressEvent(event);
}

void RecorderButton::focusOutEvent(QFocusEvent* event) {
    if (m_recording) cancelRecording();
    QPushButton::focusOutEvent(event);
}

void RecorderButton::paintEvent(QPaintEvent* event) {
    const QString title = text();
    if (!title.endsWith(QChar(clearMark)) || fontMetrics().inFont(QChar(clearMark))) {
        QPushButton::paintEvent(event);
        return;
    }
    // A bare system's fonts may lack the circled x: the bevel from the style, the text and a
    // drawn mark of the text's height after it.
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);
    const QString lead = title.left(title.size() - 1);
    const QFontMetricsF fm(font());
    const double mark = fm.ascent();
    const double width = fm.horizontalAdvance(lead) + mark;
    const QRectF area(QPointF((this->width() - width) / 2, 0), QSizeF(width, height()));
    p.setPen(palette().color(QPalette::ButtonText));
    p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, lead);
    paintClearMark(p, QRectF(area.right() - mark, (height() - mark) / 2, mark, mark));
}

void RecorderButton::paintClearMark(QPainter& p, const QRectF& box) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(palette().color(QPalette::ButtonText), std::max(1.0, box.width() / 12));
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(box.adjusted(0.5, 0.5, -0.5, -0.5));
    const QRectF cross =
        box.adjusted(box.width() * 0.32, box.height() * 0.32, -box.width() * 0.32, -box.height() * 0.32);
    p.drawLine(cross.topLeft(), cross.bottomRight());
    p.drawLine(cross.topRight(), cross.bottomLeft());
    p.restore();
}
