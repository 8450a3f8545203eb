#include "ocr/EngineModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace enginemodule {

QStringList searchPaths(const QString& besideProgram, const QString& installed, const QString& built) {
    return {QDir(QCoreApplication::applicationDirPath()).filePath(besideProgram), installed, built};
}

std::vector<QFunctionPointer> load(const QStringList& paths, const std::vector<const char*>& symbols,
                                   QString* errors) {
    for (const QString& path : paths) {
        if (!QFileInfo::exists(path)) continue;
        // Never unloaded: what the engines keep (per-thread engines, their models) lives in the module.
        QLibrary library(path);
        if (!library.load()) {
            *errors += QStringLiteral(" ") + library.errorString();
            continue;
        }
        std::vector<QFunctionPointer> found;
        for (const char* symbol : symbols)
            if (QFunctionPointer address = library.resolve(symbol)) found.push_back(address);
        if (found.size() == symbols.size()) return found;
        *errors += QStringLiteral(" ") + path + QStringLiteral(" lacks the engine's entry points");
    }
    return {};
}

} // namespace enginemodule
