#include "editor/EditorWindowController.h"

void EditorWindowController::open(const CapturedImage&) {}
