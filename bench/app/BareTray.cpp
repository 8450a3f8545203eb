// The smallest Qt tray application: the baseline that Pictro's start-up and memory are measured
// against. It writes its marker file once the event loop runs, as Pictro writes status.txt.
#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::darkGray);
    QSystemTrayIcon tray{QIcon(pixmap)};
    tray.show();
    const QString marker = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QTimer::singleShot(0, [&] {
        QFile f(marker);
        if (!marker.isEmpty() && f.open(QIODevice::WriteOnly)) f.write("ready");
    });
    return app.exec();
}
