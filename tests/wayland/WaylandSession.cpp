#include "WaylandSession.h"

#include "support/TestSupport.h"

#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

namespace waylandsession {

QImage grim(const QString& output) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grim.png"));
    QStringList args;
    if (!output.isEmpty()) args << QStringLiteral("-o") << output;
    QProcess p;
    p.start(QStringLiteral("grim"), args << path);
    if (!p.waitForFinished(10000) || p.exitCode() != 0) return {};
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

QString swaymsg(const QStringList& args) { return testsupport::run(QStringLiteral("swaymsg"), args).trimmed(); }

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
        for (int x = 0; x < pattern.width(); ++x) pattern.setPixel(x, y, qRgb((x * 7) % 256, (y * 5) % 256, (x + y) % 256));
    pattern.setDevicePixelRatio(devicePixelRatioF());
    p.drawImage(0, 0, pattern);
    m_painted = true;
}

} // namespace waylandsession
