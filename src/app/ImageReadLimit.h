#pragma once

// How large an image Pictro decodes from a file or the clipboard.
namespace imagereadlimit {

// Megabytes of pixels one decoded image may take. Qt's own default, 128, refuses Pictro's own
// larger captures, and does so silently: a scrolling capture at 3840 pixels wide past 8,738 rows
// (the height limit allows 20,000), or the portal's picture of a desktop of several large screens.
// A damaged or hostile file still cannot ask for unbounded memory.
inline constexpr int megabytes = 1024;

// Sets the limit for every image reader of the process.
void install();

} // namespace imagereadlimit
