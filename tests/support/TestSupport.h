#pragma once

#include "capture/CapturedImage.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdio>
#include <functional>

class QWidget;

namespace testsupport {

// Sets an environment variable for the life of the object and restores it afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const QByteArray& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    QByteArray m_name;
    QByteArray m_old;
    bool m_had;
};

// How much longer than usual a test may wait for anything: PICTRO_TEST_TIME_SCALE (default 1),
// so a loaded machine can be given more time without editing a test.
double timeScale();
// A timeout in milliseconds stretched by timeScale().
int scaled(int ms);

// Spins the event loop until `done` holds or the (scaled) timeout passes; returns `done()`.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Spins the event loop for a (scaled) while. Only for checks that something does not happen, where
// no event marks the moment; anything that does happen is waited for with waitUntil.
void letEventsRun(int ms);
// Waits (scaled) until the widget's window is exposed on its screen.
bool waitExposed(QWidget* widget, int timeoutMs = 5000);

QString readFile(const QString& path);

// Collects what is written to standard error while it lives.
class StderrCapture {
  public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;
    // What was written so far; ends the capture.
    QString text();

  private:
    void restore();
    int m_saved = -1;
    std::FILE* m_file = nullptr;
};

// An image of one colour, as tests draw their own pictures.
QImage solidImage(QSize pixels, QColor color, QImage::Format format = QImage::Format_RGB32);
CapturedImage solidCapture(QSize pixels, QColor color, double scale = 1.0,
                           QImage::Format format = QImage::Format_RGB32);

} // namespace testsupport
