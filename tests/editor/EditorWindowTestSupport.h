#pragma once

#include "hud/HudTestSupport.h"

#include "capture/CapturedImage.h"
#include "editor/EditorCanvasView.h"
#include "editor/EditorScrollView.h"
#include "editor/EditorWindowController.h"
#include "hud/PinWindow.h"
#include "hud/ToastHUD.h"
#include "hud/ToastWindow.h"
#include "platform/fake/FakePlatform.h"
#include "settings/SettingsKeys.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace editorwintest {

// A white image with a dark square in its top-left quarter, so flattened results are not blank.
inline QImage testImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(QRect(width / 8, height / 8, width / 4, height / 4), QColor(30, 60, 90));
    return image;
}

// Each test gets its own screenshots folder, fresh settings for everything the editor reads, one
// 1440 × 900 screen whose visible frame is 1440 × 870, and an empty fake clipboard.
class EditorWindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        settings = &hudtest::isolatedSettings();
        for (const char* key : {keys::preferZoom100, keys::escCopy, keys::escSave, keys::downscaleRetina,
                                keys::alwaysOnTop, keys::zoomReverseScroll, keys::saveFormat})
            settings->remove(QString::fromLatin1(key));
        settings->set(keys::confirmationStyle, QStringLiteral("custom"));
        settings->set(keys::screenshotsFolder, folder.path());
        platform = &hudtest::installOneScreen();
    }

    void TearDown() override {
        const auto& open = EditorWindowController::controllers();
        for (int guard = 0; !open.empty() && guard < 100; ++guard)
            open.front()->closeWindow();
        const std::vector<PinWindow*> pins = PinWindow::pins();
        for (PinWindow* pin : pins)
            pin->close();
        hudtest::clearHuds();
    }

    EditorWindowController* openEditor(int pixelWidth, int pixelHeight, double scale) {
        EditorWindowController::open(CapturedImage{testImage(pixelWidth, pixelHeight), scale});
        EXPECT_FALSE(EditorWindowController::controllers().empty());
        return EditorWindowController::controllers().back().get();
    }

    static bool isOpen(const EditorWindowController* editor) {
        for (const auto& c : EditorWindowController::controllers())
            if (c.get() == editor) return true;
        return false;
    }

    static QString zoomText(const EditorWindowController* editor) {
        return editor->toolbar()->zoomLabel()->text();
    }
    static QString sizeText(const EditorWindowController* editor) {
        return editor->toolbar()->sizeLabel()->text();
    }

    // The message of the toast that appears, or an empty string when none does.
    static QString toastShown() {
        testsupport::waitUntil([] { return ToastHUD::current() != nullptr; }, 500);
        return ToastHUD::current() ? ToastHUD::current()->message() : QString();
    }

    QStringList savedFiles() const { return QDir(folder.path()).entryList(QDir::Files); }

    Settings* settings = nullptr;
    FakePlatform* platform = nullptr;
    QTemporaryDir folder;
};

} // namespace editorwintest
