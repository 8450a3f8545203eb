// A second process that pastes the clipboard's image the way a Qt application does
// (QClipboard::image()), and reports what it got and how long it took:
//   "<width> <height> <dots per metre x> <milliseconds> <pixel hash>"
#include <QClipboard>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QElapsedTimer timer;
    timer.start();
    const QImage image = QGuiApplication::clipboard()->image();
    const qint64 ms = timer.elapsed();
    if (image.isNull()) {
        std::printf("none\n");
        return 1;
    }
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int y = 0; y < argb.height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(argb.constScanLine(y)), argb.width() * 4));
    std::printf("%d %d %d %lld %s\n", image.width(), image.height(), image.dotsPerMeterX(),
                static_cast<long long>(ms), hash.result().toHex().constData());
    return 0;
}
