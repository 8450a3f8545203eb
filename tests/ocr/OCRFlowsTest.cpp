#include "OCRTestImages.h"

#include "app/AppCaptureFlows.h"
#include "app/AppDelegate.h"
#include "editor/EditorCanvasView.h"
#include "editor/EditorToolbar.h"
#include "editor/EditorWindowController.h"
#include "hud/HudTestSupport.h"
#include "hud/ToastHUD.h"
#include "hud/ToastWindow.h"
#include "ocr/QRCodeImage.h"
#include "platform/fake/FakePlatform.h"
#include "settings/SettingsKeys.h"
#include "support/TestSupport.h"

#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using ocrtest::dejaVu;
using testsupport::waitUntil;

namespace {

constexpr int kRecognitionTimeoutMs = 30000;

// The result's toast; a "Reading text…" one shown while a read takes long comes before it.
QString toastMessage() {
    waitUntil(
        [] {
            return ToastHUD::current() && ToastHUD::current()->message() != QStringLiteral("Reading text…");
        },
        kRecognitionTimeoutMs);
    return ToastHUD::current() ? ToastHUD::current()->message() : QString();
}

// A frozen 1440 × 900-point screen at scale 2 with one line at pixels (140, 250) and a second line
// far below it, outside the area the tests drag.
CapturedImage frozenScreen(const QString& inArea, const QImage& extra = {}) {
    QImage pixels = ocrtest::textImage({2880, 1800}, {inArea}, dejaVu(48), {140, 250});
    pixels = ocrtest::with(
        pixels, ocrtest::textImage({900, 120}, {QStringLiteral("Outside words")}, dejaVu(48)), {140, 1000});
    if (!extra.isNull()) pixels = ocrtest::with(pixels, extra, {1000, 210});
    return {pixels, 2.0};
}

// Bottom-left points: pixels x 100…1300, y 200…400 from the top.
const QRectF kArea(50, 700, 600, 100);

class InstantRecognition : public ::testing::Test {
  protected:
    void SetUp() override {
        settings = &hudtest::isolatedSettings();
        settings->set(keys::confirmationStyle, QStringLiteral("custom"));
        settings->remove(QString::fromLatin1(keys::ocrRemoveLineBreaks));
        platform = &hudtest::installOneScreen();
        delegate = std::make_unique<AppDelegate>(*settings, *platform, QStringList{});
        flows = std::make_unique<AppCaptureFlows>(delegate->history(), delegate->eventLog(), *settings,
                                                  Platform::shared(),
                                                  [this](OverlayMode mode, OverlayCompletion completion) {
                                                      modes.push_back(mode);
                                                      completion(overlayAnswer);
                                                      return true;
                                                  });
    }
    void TearDown() override { hudtest::clearHuds(); }

    Settings* settings = nullptr;
    FakePlatform* platform = nullptr;
    std::unique_ptr<AppDelegate> delegate;
    std::unique_ptr<AppCaptureFlows> flows;
    std::vector<OverlayMode> modes;
    OverlayResult overlayAnswer;
};

TEST_F(InstantRecognition, TextInTheDraggedAreaGoesToTheClipboard) {
    overlayAnswer = OverlayResult::area(platform->fakeScreens.screenList.front(),
                                        frozenScreen(QStringLiteral("Copy me")), kArea);
    flows->instantTextRecognition();
    EXPECT_EQ(modes, std::vector<OverlayMode>{OverlayMode::area});
    EXPECT_EQ(toastMessage(), QStringLiteral("Text copied (7 chars)"));
    EXPECT_EQ(platform->fakePasteboard.text, QStringLiteral("Copy me"));
    using Op = FakePasteboard::Op;
    EXPECT_EQ(platform->fakePasteboard.operations, (std::vector<Op>{Op::clear, Op::text}));
}

TEST_F(InstantRecognition, AQRCodeInTheAreaComesFirstAndSaysSo) {
    overlayAnswer = OverlayResult::area(
        platform->fakeScreens.screenList.front(),
        frozenScreen(QStringLiteral("Scan"), qrcodeimage::make(QStringLiteral("Q1"), 6)), kArea);
    flows->instantTextRecognition();
    EXPECT_EQ(toastMessage(), QStringLiteral("QR/text copied (7 chars)"));
    EXPECT_EQ(platform->fakePasteboard.text, QStringLiteral("Q1\nScan"));
}

TEST_F(InstantRecognition, NothingInTheAreaLeavesTheClipboardAlone) {
    overlayAnswer =
        OverlayResult::area(platform->fakeScreens.screenList.front(), frozenScreen(QString()), kArea);
    flows->instantTextRecognition();
    EXPECT_EQ(toastMessage(), QStringLiteral("No text or QR found"));
    EXPECT_TRUE(platform->fakePasteboard.operations.empty());
}

TEST_F(InstantRecognition, CancelledSelectionEndsSilently) {
    overlayAnswer = OverlayResult{};
    flows->instantTextRecognition();
    EXPECT_FALSE(waitUntil([] { return ToastHUD::current() != nullptr; }, 300));
    EXPECT_TRUE(platform->fakePasteboard.operations.empty());
}

class EditorRecognition : public InstantRecognition {
  protected:
    void TearDown() override {
        while (!EditorWindowController::controllers().empty())
            EditorWindowController::controllers().front()->closeWindow();
        InstantRecognition::TearDown();
    }
    EditorWindowController* openOn(const QString& text) {
        EditorWindowController::open({ocrtest::textImage({600, 200}, {text}, dejaVu(40)), 1.0});
        return EditorWindowController::controllers().back().get();
    }
    static void clickRecognise(EditorWindowController* editor) {
        QTest::mouseClick(editor->toolbar()->actionButton(EditorToolbar::Action::recognizeText),
                          Qt::LeftButton);
    }
};

TEST_F(EditorRecognition, RecognisedTextIsCopiedAndTheEditorStaysOpen) {
    EditorWindowController* editor = openOn(QStringLiteral("Editor text"));
    clickRecognise(editor);
    EXPECT_EQ(toastMessage(), QStringLiteral("Text copied (11 chars)"));
    EXPECT_EQ(platform->fakePasteboard.text, QStringLiteral("Editor text"));
    EXPECT_EQ(EditorWindowController::controllers().size(), 1u);
}

TEST_F(EditorRecognition, ClosingTheEditorWhileRecognisingStillDeliversTheText) {
    EditorWindowController* editor = openOn(QStringLiteral("Closed early"));
    clickRecognise(editor);
    editor->closeWindow();
    ASSERT_TRUE(EditorWindowController::controllers().empty());
    EXPECT_EQ(toastMessage(), QStringLiteral("Text copied (12 chars)"));
    EXPECT_EQ(platform->fakePasteboard.text, QStringLiteral("Closed early"));
}

} // namespace
