#include "WaylandSession.h"

#include "platform/wayland/WaylandPlatform.h"
#include "support/ExternalProgram.h"
#include "support/TestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>

#include <csignal>

namespace waylandsession {

InstalledPlatform::InstalledPlatform() {
    Platform::install(std::make_unique<WaylandPlatform>());
}
InstalledPlatform::~InstalledPlatform() {
    Platform::install(nullptr);
}

QImage grim(const QString& output) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grim.png"));
    QStringList args;
    if (!output.isEmpty()) args << QStringLiteral("-o") << output;
    if (!testsupport::runProgram(QStringLiteral("grim"), args << path).ok()) return {};
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

QString swaymsg(const QStringList& args) {
    return testsupport::runProgram(QStringLiteral("swaymsg"), args).text();
}

namespace {
QJsonObject nodeNamed(const QJsonObject& node, const QString& name) {
    if (node[QStringLiteral("name")].toString() == name) return node;
    for (const char* children : {"nodes", "floating_nodes"})
        for (const QJsonValue& child : node[QLatin1String(children)].toArray()) {
            const QJsonObject found = nodeNamed(child.toObject(), name);
            if (!found.isEmpty()) return found;
        }
    return {};
}
} // namespace

QJsonObject swayWindow(const QString& title) {
    const QByteArray tree = swaymsg({QStringLiteral("-t"), QStringLiteral("get_tree")}).toUtf8();
    return nodeNamed(QJsonDocument::fromJson(tree).object(), title);
}

bool type(const QString& text) {
    return testsupport::runProgram(QStringLiteral("wtype"), {text}).ok();
}

bool pictroWindowShown() {
    return swaymsg({QStringLiteral("-t"), QStringLiteral("get_tree")})
        .contains(QStringLiteral("\"name\": \"Pictro "));
}

QString sessionPortalBackends() {
    return qEnvironmentVariable("XDG_DESKTOP_PORTAL_DIR",
                                QStringLiteral("/usr/share/xdg-desktop-portal/portals"));
}

bool restartPortal(const QString& backendsDir, bool waitForScreenshot) {
    const QString portal = QStringLiteral("org.freedesktop.portal.Desktop");
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusMessage update = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("UpdateActivationEnvironment"));
    using Environment = QMap<QString, QString>;
    qDBusRegisterMetaType<Environment>();
    update << QVariant::fromValue(Environment{{QStringLiteral("XDG_DESKTOP_PORTAL_DIR"), backendsDir}});
    if (bus.call(update).type() == QDBusMessage::ErrorMessage) return false;
    const uint pid = bus.interface()->servicePid(portal).value();
    if (pid > 0) ::kill(static_cast<pid_t>(pid), SIGTERM);
    if (!testsupport::waitUntil([&] { return !bus.interface()->isServiceRegistered(portal).value(); }, 5000))
        return false;
    if (!waitForScreenshot) return true;
    return testsupport::waitUntil(
        [&] {
            QDBusMessage get = QDBusMessage::createMethodCall(
                portal, QStringLiteral("/org/freedesktop/portal/desktop"),
                QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
            get << QStringLiteral("org.freedesktop.portal.Screenshot") << QStringLiteral("version");
            return bus.call(get, QDBus::Block, 2000).type() == QDBusMessage::ReplyMessage;
        },
        15000);
}

VirtualInput::VirtualInput() {
    QRect layout;
    for (const QScreen* s : QGuiApplication::screens())
        layout = layout.united(s->geometry());
    m_tool.start(QStringLiteral(WAYLAND_TEST_INPUT),
                 {QString::number(layout.width()), QString::number(layout.height())});
    m_ready = m_tool.waitForReadyRead(5000) && m_tool.readLine().trimmed() == "ready";
    // The compositor tells clients of the new seat capabilities; let them set up their pointer.
    testsupport::waitUntil([] { return false; }, 200);
}

VirtualInput::~VirtualInput() {
    m_tool.closeWriteChannel();
    if (!m_tool.waitForFinished(2000)) m_tool.kill();
}

bool VirtualInput::send(const QByteArray& command) {
    if (!m_ready) return false;
    m_tool.write(command + '\n');
    if (!m_tool.waitForReadyRead(5000)) return false;
    const bool ok = m_tool.readLine().trimmed() == "ok";
    // Input reaches other clients through their own event loops: let ours run too.
    testsupport::waitUntil([] { return false; }, 30);
    return ok;
}

bool VirtualInput::move(QPoint p) {
    return send("move " + QByteArray::number(p.x()) + ' ' + QByteArray::number(p.y()));
}
bool VirtualInput::press() {
    return send("press");
}
bool VirtualInput::release() {
    return send("release");
}
bool VirtualInput::key(unsigned code) {
    return send("key " + QByteArray::number(code));
}

bool VirtualInput::drag(QPoint from, QPoint to) {
    return move(from) && press() && move((from + to) / 2) && move(to) && release();
}

PatternWindow::PatternWindow() {
    setWindowTitle(QStringLiteral("Pattern"));
    show();
    testsupport::waitUntil([this] { return m_painted; });
    // The compositor shows the frame a moment after the client has committed it.
    testsupport::waitUntil([] { return false; }, 300);
}

void PatternWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QImage pattern(size() * devicePixelRatioF(), QImage::Format_RGB32);
    for (int y = 0; y < pattern.height(); ++y)
        for (int x = 0; x < pattern.width(); ++x)
            pattern.setPixel(x, y, qRgb((x * 7) % 256, (y * 5) % 256, (x + y) % 256));
    pattern.setDevicePixelRatio(devicePixelRatioF());
    p.drawImage(0, 0, pattern);
    m_painted = true;
}

TextWindow::TextWindow(const QString& text, QPoint origin) : m_text(text), m_origin(origin) {
    setWindowTitle(QStringLiteral("Text"));
    show();
    testsupport::waitUntil([this] { return m_painted; });
    testsupport::waitUntil([] { return false; }, 300);
}

void TextWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(56);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(m_origin + QPoint(0, QFontMetrics(font).ascent()), m_text);
    m_painted = true;
}

} // namespace waylandsession
