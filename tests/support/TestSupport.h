#pragma once

#include <QByteArray>
#include <QString>
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

} // namespace testsupport
