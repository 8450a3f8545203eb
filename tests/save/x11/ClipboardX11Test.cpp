#include "platform/ClipboardMimeData.h"
#include "platform/x11/X11Platform.h"
#include "save/ImageEncoding.h"
#include "save/SaveService.h"
#include "settings/Settings.h"
#include "support/ExternalProgram.h"
#include "support/TestSupport.h"
#include "support/x11/X11TestSupport.h"

#include <QClipboard>
#include <QCryptographicHash>
#include <QGuiApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

X11Platform& platform() {
    return x11test::installX11Platform();
}

// Runs a program while this process keeps serving the clipboard; its standard output.
QByteArray runServing(const QString& program, const QStringList& args) {
    return testsupport::runProgram(program, args, 20000).out;
}

QImage picture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    QRandomGenerator rng(5);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, (x / 8 + y / 8) % 2 ? qRgb(240, 240, 240) : rng.generate());
    return image;
}

QByteArray pixelHash(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int y = 0; y < argb.height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(argb.constScanLine(y)), argb.width() * 4));
    return hash.result().toHex();
}

class ClipboardX11 : public testing::Test {
  protected:
    void SetUp() override {
        platform();
        settings = std::make_unique<Settings>(dir.filePath(QStringLiteral("Pictro.conf")));
        service = std::make_unique<SaveService>(*settings, &platform().pasteboard());
    }
    QTemporaryDir dir;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<SaveService> service;
};

TEST_F(ClipboardX11, OtherProcessesPasteTheSamePngBytesAndTheImage) {
    const QImage image = picture(640, 480);
    service->copyToClipboard(CapturedImage{image, 2.0});
    const ClipboardMimeData* own = platform().x11Pasteboard().ownContents();
    ASSERT_NE(own, nullptr);
    const QByteArray png = own->png();
    ASSERT_FALSE(png.isEmpty());

    const QByteArray targets =
        runServing(QStringLiteral("xclip"), {"-o", "-selection", "clipboard", "-t", "TARGETS"});
    EXPECT_TRUE(targets.contains("image/png")) << targets.constData();
    // Only bytes that exist already are offered: no format that would need an encoding per request.
    EXPECT_FALSE(targets.contains("image/bmp")) << targets.constData();
    EXPECT_FALSE(targets.contains("image/jpeg")) << targets.constData();

    const QByteArray pasted =
        runServing(QStringLiteral("xclip"), {"-o", "-selection", "clipboard", "-t", "image/png"});
    EXPECT_EQ(pasted, png);
    const QImage decoded = QImage::fromData(pasted, "PNG");
    EXPECT_EQ(pixelHash(decoded), pixelHash(image));
    EXPECT_EQ(decoded.dotsPerMeterX(), imageencoding::dotsPerMetreForScale(2.0)); // 320 × 240 points

    // A Qt application's paste of the image object gets the same image and size.
    const int before = own->imageRequests();
    const QList<QByteArray> fields =
        runServing(QStringLiteral(PICTRO_CLIPBOARD_READER), {}).trimmed().split(' ');
    ASSERT_EQ(fields.size(), 5) << fields.join(' ').constData();
    EXPECT_EQ(fields[0].toInt(), 640);
    EXPECT_EQ(fields[1].toInt(), 480);
    EXPECT_EQ(fields[2].toInt(), imageencoding::dotsPerMetreForScale(2.0));
    EXPECT_EQ(fields[4], pixelHash(image));
    EXPECT_GT(own->imageRequests(), before);
    // Still the very bytes encoded once at copy time.
    EXPECT_EQ(platform().x11Pasteboard().ownContents()->png().constData(), png.constData());
}

TEST_F(ClipboardX11, InProcessReadersGetTheImageObjectAtPointSize) {
    service->copyToClipboard(CapturedImage{picture(400, 300), 2.0});
    const auto image = platform().pasteboard().readImage();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), QSize(400, 300));
    EXPECT_EQ(image->deviceIndependentSize(), QSizeF(200, 150));
    EXPECT_FALSE(platform().pasteboard().readText().has_value());
    platform().pasteboard().setText(QStringLiteral("recognised text"));
    EXPECT_EQ(platform().pasteboard().readText(), QStringLiteral("recognised text"));
    const QByteArray text = runServing(QStringLiteral("xclip"), {"-o", "-selection", "clipboard"});
    EXPECT_EQ(text, QByteArray("recognised text"));
}

TEST_F(ClipboardX11, CopiedImageOutlivesPictroThroughTheClipboardManager) {
    QProcess manager;
    ASSERT_TRUE(testsupport::startProgram(manager, QStringLiteral(PICTRO_TEST_CLIPBOARD_MANAGER)));
    ASSERT_TRUE(testsupport::waitUntil([&] { return manager.canReadLine(); }, 5000));
    EXPECT_EQ(manager.readLine().trimmed(), QByteArray("ready"));

    // The copier owns the clipboard, then quits; the PNG it copied must still be there.
    const QByteArray copied =
        QByteArray::fromHex(runServing(QStringLiteral(PICTRO_CLIPBOARD_COPIER), {}).trimmed());
    ASSERT_FALSE(copied.isEmpty());
    ASSERT_TRUE(testsupport::waitUntil([&] { return manager.canReadLine(); }, 5000));
    EXPECT_EQ(manager.readLine().trimmed(), QByteArray("saved 1")); // the PNG bytes alone
    const QByteArray pasted =
        runServing(QStringLiteral("xclip"), {"-o", "-selection", "clipboard", "-t", "image/png"});
    EXPECT_EQ(pasted, copied);
    EXPECT_EQ(QImage::fromData(pasted, "PNG").size(), QSize(120, 80));
    manager.kill();
    manager.waitForFinished(1000);
}

} // namespace
