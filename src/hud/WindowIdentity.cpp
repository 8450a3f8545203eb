#include "hud/WindowIdentity.h"

#include <QCoreApplication>
#include <QWidget>

namespace windowidentity {

void prepareApplication() {
    if (QCoreApplication::applicationName() != QLatin1String(className))
        QCoreApplication::setApplicationName(QString::fromLatin1(className));
    // The instance name otherwise follows the binary's file name, which differs for a renamed
    // or wrapped binary; an explicit $RESOURCE_NAME from the user still wins.
    if (!qEnvironmentVariableIsSet("RESOURCE_NAME")) qputenv("RESOURCE_NAME", instanceName);
}

QString titleForRole(const QString& role) {
    return QStringLiteral("Pictro ") + role;
}

void setWindowIdentity(QWidget* window, const QString& role) {
    prepareApplication();
    window->setWindowTitle(titleForRole(role));
    window->setObjectName(role);
}

} // namespace windowidentity
