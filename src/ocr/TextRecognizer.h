#pragma once

#include <QImage>
#include <QStringList>

// Reads the lines of text in an image (as OCRImage::prepared makes it) with the recognition engine. Blocking;
// safe to call from several threads at once: each thread reads with an engine of its own.
namespace textrecognizer {

// The lines in the engine's reading order, without their line ends; empty lines are left out.
// `packs` are the engine's language packs in priority order; a pack that is not installed is
// dropped (English stands in when none is left) with one diagnostic line per process.
QStringList recognizeLines(const QImage& image, const QStringList& packs);

// The language packs the engine finds installed.
QStringList installedPacks();

} // namespace textrecognizer
