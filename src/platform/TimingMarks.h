#pragma once

#include <QLoggingCategory>

// Time marks on the paths where a person waits (start-up, a capture to its file, the overlay),
// written to the log under the category "pictro.timing", which is off unless switched on:
//   QT_LOGGING_RULES="pictro.timing.debug=true" pictro
// Each line gives the milliseconds since the process started and since the previous mark.
Q_DECLARE_LOGGING_CATEGORY(lcTiming)

namespace timingmarks {

void mark(const char* what);

} // namespace timingmarks
