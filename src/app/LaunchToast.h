#pragma once

#include <QString>

// The start-up toast. It names the built-in shortcuts of the two main captures, whatever the
// user has bound since: it is a first hint, not a live list.
namespace launchtoast {

QString text();

} // namespace launchtoast
