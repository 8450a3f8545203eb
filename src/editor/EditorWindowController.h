#pragma once

#include "capture/CapturedImage.h"

// The annotation editor's entry point. The editor window itself is not part of the program yet:
// until it is, opening does nothing.
class EditorWindowController {
public:
    static void open(const CapturedImage& image);
};
