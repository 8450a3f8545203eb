#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QThread>
#include <QWidget>

#include <cmath>
#include <unistd.h>

namespace testsupport {

ScopedEnv::ScopedEnv(const char* name, const QByteArray& value)
    : m_name(name), m_old(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name)) {
    qputenv(name, value);
}

ScopedEnv::~ScopedEnv() {
    if (m_had)
        qputenv(m_name.constData(), m_old);
    else
        qunsetenv(m_name.constData());
}

double timeScale() {
    static const double scale = [] {
        bool ok = false;
        const double value = qEnvironmentVariable("PICTRO_TEST_TIME_SCALE").toDouble(&ok);
        return ok && value >= 1.0 ? value : 1.0;
    }();
    return scale;
}

int scaled(int ms) {
    return static_cast<int>(std::lround(ms * timeScale()));
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    const int limit = scaled(timeoutMs);
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limit) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

void letEventsRun(int ms) {
    QElapsedTimer timer;
    timer.start();
    waitUntil([&] { return timer.elapsed() >= scaled(ms); }, ms + 1000);
}

bool waitExposed(QWidget* widget, int timeoutMs) {
    return widget && QTest::qWaitForWindowExposed(widget, scaled(timeoutMs));
}

QString readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

StderrCapture::StderrCapture() {
    std::fflush(stderr);
    m_saved = dup(STDERR_FILENO);
    m_file = std::tmpfile();
    dup2(fileno(m_file), STDERR_FILENO);
}

StderrCapture::~StderrCapture() {
    restore();
    if (m_file) std::fclose(m_file);
}

QString StderrCapture::text() {
    restore();
    std::rewind(m_file);
    QByteArray all;
    char buf[512];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, m_file)) > 0)
        all.append(buf, static_cast<qsizetype>(n));
    return QString::fromLocal8Bit(all);
}

void StderrCapture::restore() {
    if (m_saved < 0) return;
    std::fflush(stderr);
    dup2(m_saved, STDERR_FILENO);
    close(m_saved);
    m_saved = -1;
}

QImage solidImage(QSize pixels, QColor color, QImage::Format format) {
    QImage image(pixels, format);
    image.fill(color);
    return image;
}

CapturedImage solidCapture(QSize pixels, QColor color, double scale, QImage::Format format) {
    return CapturedImage{solidImage(pixels, color, format), scale};
}

} // namespace testsupport
