#pragma once

#include <QString>

// The start-up toast. It names the built-in shortcuts of the two main captures, whatever the
// user has bound since: it is a first hint, not a live list.
namespace launchtoast {

// `keysBound`: whether Pictro or the desktop binds those keys at all. Where neither can (a
// compositor without a shortcut portal), naming them would promise keys that do nothing, so the
// toast says where the user binds Pictro's actions instead.
QString text(bool keysBound = true);

} // namespace launchtoast
