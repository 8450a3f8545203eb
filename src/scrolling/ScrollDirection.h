#pragma once

// Which way a scrolling capture moves through the content: `down` brings new content in at the
// bottom of each frame, `up` at the top.
enum class ScrollDirection { down, up };
