#pragma once

#include <QDBusConnection>
#include <QImage>
#include <QString>

#include <functional>
#include <optional>

// Why the desktop gave no screenshot.
enum class ScreenshotFailure {
    portalMissing, // no screenshot portal in this session
    denied,        // the user (or the desktop's policy) refused
    cancelled,     // the user closed the portal's dialog
    timedOut,      // no answer in time
    unreadable,    // the portal answered with a file that is not an image we can read
    failed,        // the portal refused the call
};

struct ScreenshotOutcome {
    QImage image;                             // the whole desktop, every output, when taken
    std::optional<ScreenshotFailure> failure; // why there is no image
    QString detail;                           // for the log
};

// The desktop portal's Screenshot, non-interactive: the desktop as it is now, without a dialog of
// the portal's own (some desktops ask once whether Pictro may take screenshots at all).
class PortalScreenshot {
  public:
    struct Options {
        QString service; // the portal's bus name; the desktop portal when empty
        int timeoutMs = 30000;
    };
    using Done = std::function<void(const ScreenshotOutcome&)>;

    // The version of the Screenshot interface this session's desktop portal offers; 0 where it
    // offers none. Blocking, briefly: the portal answers from its own state.
    static uint version(const QDBusConnection& bus);

    // `done` runs once, on the calling thread (which needs an event loop).
    static void take(const QDBusConnection& bus, const Options& options, Done done);

    // The answer of the portal's request turned into the outcome: the image read from the file the
    // portal names, which is removed once read if the portal left it in a temporary folder.
    static ScreenshotOutcome fromAnswer(uint response, const QString& uri);
};
