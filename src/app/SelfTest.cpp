#include "app/SelfTest.h"

#include "app/selfcheck/SelfChecks.h"
#include "platform/Log.h"

#include <cstdio>

namespace selftest {

std::vector<SelfCheck> allChecks() {
    std::vector<SelfCheck> checks;
    for (auto provider : {selfchecks::shortcutChecks, selfchecks::settingsChecks, selfchecks::editorChecks,
                          selfchecks::stitcherChecks, selfchecks::captureChecks, selfchecks::saveChecks,
                          selfchecks::hudChecks, selfchecks::ocrChecks}) {
        auto more = provider();
        checks.insert(checks.end(), more.begin(), more.end());
    }
    return checks;
}

int run(const QString& outputDir) {
    QDir dir(outputDir);
    if (!dir.mkpath(QStringLiteral("."))) {
        qCWarning(lcApp, "self-check cannot create %s", qPrintable(outputDir));
        return 1;
    }
    int failures = 0;
    for (const SelfCheck& check : allChecks()) {
        std::optional<QString> failure;
        try {
            failure = check.run(dir);
        } catch (const std::exception& e) {
            failure = QStringLiteral("threw %1").arg(QString::fromUtf8(e.what()));
        }
        if (failure) {
            ++failures;
            std::printf("FAIL %s: %s\n", qPrintable(check.name), qPrintable(*failure));
        } else {
            std::printf("ok %s\n", qPrintable(check.name));
        }
        std::fflush(stdout);
    }
    return failures;
}

} // namespace selftest
