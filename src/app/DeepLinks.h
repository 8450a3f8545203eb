#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Links of the program's own scheme, "pictro".
namespace deeplinks {

enum class Action {
    areaCapture,
    fullscreenCapture,
    windowCapture,
    scrollingCapture,
    textRecognition,
    clipboardImage,
    nothing
};

// None when the link is not of the scheme (compared exactly, as is the host); otherwise what it
// asks for. Unknown hosts ask for nothing; an unknown or empty capture type means an area capture.
std::optional<Action> parse(const QString& link);

// The link's encoded form: always one line of printable ASCII, whatever the input held.
QString encodedText(const QString& link);

// What one open request may start.
struct Target {
    std::function<void(Action)> start;
    std::function<void(const QString& message, const QString& symbol, double seconds)> toast;
    std::function<void(const QString& message)> log;
};

// Handles one open request: with the scheme disabled one toast for the whole request; otherwise
// each link of the scheme starts its flow and is logged, links of other schemes are skipped.
void handleRequest(const QStringList& links, bool schemeEnabled, const Target& target);

} // namespace deeplinks
