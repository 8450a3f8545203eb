#pragma once

#include <QLoggingCategory>

// Developer diagnostics, one category per layer ("pictro.save", …), so QT_LOGGING_RULES can quiet
// or widen one of them. Every line of these categories reaches standard error, the system log
// here, as "Pictro: " and the message, whatever Qt's message pattern is.
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcEditor)
Q_DECLARE_LOGGING_CATEGORY(lcHotkeys)
Q_DECLARE_LOGGING_CATEGORY(lcHud)
Q_DECLARE_LOGGING_CATEGORY(lcOcr)
Q_DECLARE_LOGGING_CATEGORY(lcOverlay)
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
Q_DECLARE_LOGGING_CATEGORY(lcPreferences)
Q_DECLARE_LOGGING_CATEGORY(lcSave)
Q_DECLARE_LOGGING_CATEGORY(lcScrolling)
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
