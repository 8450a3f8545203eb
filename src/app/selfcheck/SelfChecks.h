#pragma once

#include "app/SelfTest.h"

// Providers of self-checks, one per area of the program.
namespace selfchecks {

std::vector<SelfCheck> shortcutChecks();
std::vector<SelfCheck> settingsChecks();
std::vector<SelfCheck> editorChecks();
std::vector<SelfCheck> stitcherChecks();
std::vector<SelfCheck> captureChecks();
std::vector<SelfCheck> saveChecks();
std::vector<SelfCheck> hudChecks();
std::vector<SelfCheck> ocrChecks();

// Helper for writing checks: formats "expected X, got Y".
QString mismatch(const QString& what, const QString& expected, const QString& actual);

} // namespace selfchecks
