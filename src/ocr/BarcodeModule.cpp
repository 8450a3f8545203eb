#include "ocr/BarcodeModule.h"

#include "ocr/EngineModule.h"
#include "platform/Log.h"

namespace barcodemodule {
namespace {

EntryPoints load() {
    QString errors;
    const std::vector<QFunctionPointer> entries =
        enginemodule::load(enginemodule::searchPaths(QStringLiteral(PICTRO_BARCODE_ENGINE_BESIDE_PROGRAM),
                                                     QStringLiteral(PICTRO_BARCODE_ENGINE_INSTALLED),
                                                     QStringLiteral(PICTRO_BARCODE_ENGINE_BUILT)),
                           {"pictro_barcode_engine_find", "pictro_barcode_engine_make"}, &errors);
    EntryPoints points;
    if (entries.size() == 2) {
        points.find = reinterpret_cast<decltype(points.find)>(entries[0]);
        points.make = reinterpret_cast<decltype(points.make)>(entries[1]);
        return points;
    }
    qCWarning(lcOcr, "barcodes: the barcode module could not be loaded;%s",
              errors.isEmpty() ? " it is not installed" : qPrintable(errors));
    return points;
}

} // namespace

const EntryPoints& entryPoints() {
    static const EntryPoints loaded = load();
    return loaded;
}

} // namespace barcodemodule
