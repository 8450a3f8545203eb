#pragma once

#include "settings/SettingsEnums.h"

#include <QString>
#include <QStringList>

// The recognition engine's language packs for the language setting, most important first.
namespace ocrlanguages {

// Pack names ("eng", "vie") in priority order. The automatic setting has no list of its own: the
// engine cannot detect a language, so it reads with every pack the program knows, English first.
QStringList packsFor(OCRLanguage language);

// The packs of `wanted` that are installed, in their order; English alone when none is.
QStringList usable(const QStringList& wanted, const QStringList& installed);

// The engine's language argument: packs joined by "+".
QString engineArgument(const QStringList& packs);

} // namespace ocrlanguages
