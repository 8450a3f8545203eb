#pragma once

#include <QString>

// The event log ("events.log" in the application-support folder): one time-stamped line per
// capture, opened image and handled link. Handed to whoever records such events.
class EventLog {
  public:
    // Best effort: a log that cannot be written loses the line, never the event.
    void append(const QString& message);
};
