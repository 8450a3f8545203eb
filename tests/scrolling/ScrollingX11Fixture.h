#pragma once

#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "support/x11/X11TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// A scrolling capture on the real X server, with its own settings at one wheel notch per step.
class ScrollingX11Fixture : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Settings::registerDefaults();
        x11test::installX11Platform();
    }

    void SetUp() override {
        settings = std::make_unique<Settings>(dir.filePath(QStringLiteral("Pictro.conf")));
        settings->set(keys::scrollSpeed, 1.0);
    }

    QTemporaryDir dir;
    std::unique_ptr<Settings> settings;
};
