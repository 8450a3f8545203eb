#pragma once

#include "settings/SettingsEnums.h"

#include <QString>
#include <QStringList>

#include <optional>

// The recognition engine's language packs for the language setting, most important first.
namespace ocrlanguages {

// Pack names ("eng", "vie") in priority order. The automatic setting has no list of its own: the
// engine cannot detect a language, so it reads with every pack the program knows, English first.
QStringList packsFor(OCRLanguage language);

// The packs of `wanted` that are installed, in their order; English alone when none is.
QStringList usable(const QStringList& wanted, const QStringList& installed);

// The engine's language argument: packs joined by "+".
QString engineArgument(const QStringList& packs);

// Beside the three fixed values, the language setting may name one installed pack ("deu"), which
// is then read with alone. None for the fixed values and for text that cannot name a pack.
std::optional<QString> singlePack(const QString& stored);

// The installed packs a person can choose, in the engine's order: every one that is a language
// (orientation detection and equations are not).
QStringList selectablePacks(const QStringList& installed);

// What the language pop-up shows for a pack: the language's English name and the pack, as
// "German (deu)"; the pack alone when the language is unknown.
QString packLabel(const QString& pack);

} // namespace ocrlanguages
