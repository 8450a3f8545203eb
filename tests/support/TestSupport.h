#pragma once

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

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

// Spins the event loop until `done` holds or the timeout passes; returns `done()`.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000);

QString readFile(const QString& path);

// Runs a program to its end (5 s at most); its standard output, empty when it did not finish.
QString run(const QString& program, const QStringList& args);
// Real input and window queries on the test's X server; the tool's output, trimmed.
QString xdotool(const QStringList& args);
void movePointer(const QPoint& global);

} // namespace testsupport
