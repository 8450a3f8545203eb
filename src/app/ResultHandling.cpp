#include "app/ResultHandling.h"

#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

#include <QFileInfo>
#include <QStringList>

void handleCaptureResult(const CapturedImage& image, CaptureSource source, const Settings& settings,
                         const ResultActions& actions) {
    actions.log(QStringLiteral("capture source=%1 px=%2x%3")
                    .arg(captureSourceName(source))
                    .arg(image.pixelWidth())
                    .arg(image.pixelHeight()));
    QStringList words;
    if (settings.boolValue(keys::afterCopy)) {
        actions.copy(image);
        words << QStringLiteral("copied");
    }
    if (settings.boolValue(keys::afterSave))
        if (const auto path = actions.save(image))
            words << QStringLiteral("saved ") + QFileInfo(*path).fileName();

    const QString done = QStringLiteral("checkmark.circle.fill");
    if (settings.boolValue(keys::afterShow)) {
        if (source == CaptureSource::area && settings.afterCropShow() == AfterCropShow::thumbnail)
            actions.showThumbnail(image, actions.openEditor);
        else
            actions.openEditor(image);
        return;
    }
    if (!words.isEmpty()) {
        actions.toast(QStringLiteral("Screenshot ") + words.join(QStringLiteral(" · ")), done, 2.2);
        return;
    }
    actions.copy(image);
    actions.toast(QStringLiteral("Screenshot copied to clipboard"), done, 2.2);
}
