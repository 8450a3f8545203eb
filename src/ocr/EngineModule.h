#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The recognition engines are modules of their own, loaded on their first use: an engine and the
// libraries it pulls in then cost no start-up time and no memory in a session that never uses it.
namespace enginemodule {

// Where a module is looked for: under the program's own prefix (wherever it was copied to; the
// path relative to the program's folder), else under the prefix it was built for, else the copy
// in this build tree.
QStringList searchPaths(const QString& besideProgram, const QString& installed, const QString& built);

// The addresses of `symbols`, in order, in the first module of `paths` that loads and has them
// all; empty, with the reasons in `errors`, when none does. A loaded module is never unloaded.
std::vector<QFunctionPointer> load(const QStringList& paths, const std::vector<const char*>& symbols,
                                   QString* errors);

} // namespace enginemodule
