#pragma once

#include <QDir>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The command-line self-check: each check prints "ok NAME" or "FAIL NAME: reason"; images a check
// produces go into the output folder so a person can look at them.
struct SelfCheck {
    QString name;
    // Returns the failure reason, or none when the check passes.
    std::function<std::optional<QString>(const QDir& outputDir)> run;
};

namespace selftest {

// Runs every check, prints one line each, returns the number of failures.
int run(const QString& outputDir);

std::vector<SelfCheck> allChecks();

} // namespace selftest
