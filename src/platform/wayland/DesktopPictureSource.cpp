#include "platform/wayland/DesktopPictureSource.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QEventLoop>

ScreenshotOutcome DesktopPictureSource::take() {
    QMutexLocker lock(&m_mutex);
    if (m_inFlight) {
        const quint64 awaited = m_generation;
        while (m_generation == awaited)
            m_taken.wait(&m_mutex);
        return m_last;
    }
    if (!m_last.failure && m_lastTaken.isValid() && m_lastTaken.elapsed() < sameMomentMs) return m_last;
    m_inFlight = true;
    lock.unlock();

    ScreenshotOutcome outcome = askPortal();

    lock.relock();
    m_last = outcome;
    m_lastTaken.start();
    ++m_generation;
    m_inFlight = false;
    m_taken.wakeAll();
    return outcome;
}

void DesktopPictureSource::forgetLastPicture() {
    QMutexLocker lock(&m_mutex);
    m_lastTaken.invalidate();
}

ScreenshotOutcome DesktopPictureSource::askPortal() {
    ScreenshotOutcome outcome;
    QEventLoop loop;
    bool answered = false;
    PortalScreenshot::take(QDBusConnection::sessionBus(), m_options, [&](const ScreenshotOutcome& o) {
        outcome = o;
        answered = true;
        loop.quit();
    });
    if (!answered) loop.exec();
    // The request object asked to be deleted inside this loop; on a worker thread nothing else
    // would ever get to it.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return outcome;
}
