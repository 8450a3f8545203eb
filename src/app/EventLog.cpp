#include "app/EventLog.h"

#include "app/DiagnosticFiles.h"

#include <QDateTime>

void EventLog::append(const QString& message) {
    // The folder is looked up per line: it follows the environment of the moment, as a test's.
    diagnostics::appendEventLine(diagnostics::supportFolder(),
                                 diagnostics::eventLine(message, QDateTime::currentDateTimeUtc()));
}
