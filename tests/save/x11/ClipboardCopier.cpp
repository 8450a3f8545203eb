// Copies a small drawn image to the clipboard through the save service, writes the PNG it put
// there to standard output (hex), and quits as Pictro does: the application object is destroyed,
// and with it Qt's clipboard, which hands its contents to a running clipboard manager.
#include "platform/ClipboardMimeData.h"
#include "platform/x11/X11Platform.h"
#include "save/SaveService.h"
#include "settings/Settings.h"

#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    auto platform = std::make_unique<X11Platform>();
    X11Platform* x11 = platform.get();
    Platform::install(std::move(platform));
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(QColor(20, 120, 220));
    {
        QPainter p(&image);
        p.fillRect(10, 10, 50, 30, QColor(250, 200, 0));
    }
    QTemporaryDir dir;
    Settings settings(dir.filePath(QStringLiteral("Pictro.conf")));
    SaveService(settings).copyToClipboard(CapturedImage{image, 2.0});
    std::printf("%s\n", x11->x11Pasteboard().ownContents()->png().toHex().constData());
    std::fflush(stdout);
    QTimer::singleShot(200, &app, &QCoreApplication::quit);
    return app.exec();
}
