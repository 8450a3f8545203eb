#pragma once

// The compositor going away (the session ended, or it stopped) ends every Wayland client: Qt says
// so in its own words and leaves at once. This puts Pictro's own line in their place and leaves
// with status 0: the session is over, and nothing of Pictro's is lost with it (settings are
// written as they change, saved pictures have their name only once they are complete).
namespace compositorloss {

// Once, after the application object exists.
void watch();

} // namespace compositorloss
