// A second process pastes a copied 3840×2160 capture: as image/png (xclip) and as Qt's image
// object (a Qt reader's QClipboard::image()). Baseline in the same run: the same paste from
// Qt's own clipboard image (QClipboard::setImage), which encodes the image for every request.
// Run under scripts/with-xvfb.
#include "bench/save/ScreenshotLike.h"
#include "platform/x11/X11Platform.h"
#include "save/SaveService.h"
#include "settings/Settings.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

std::map<std::string, double> seconds;
QString readerPath;

std::map<std::string, double> readerPasteMs; // the Qt reader's own figure: QClipboard::image() alone

// Wall time of a reader process, the clipboard served by this process meanwhile.
double pasteSeconds(const QString& program, const QStringList& args, const char* key) {
    QElapsedTimer timer;
    timer.start();
    QProcess p;
    p.start(program, args);
    p.waitForStarted();
    while (p.state() != QProcess::NotRunning) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
    const double wall = timer.nsecsElapsed() / 1e9;
    if (program == readerPath) {
        const QList<QByteArray> fields = p.readAllStandardOutput().trimmed().split(' ');
        if (fields.size() == 5) readerPasteMs[key] = fields[3].toDouble();
    } else {
        p.readAllStandardOutput();
    }
    return wall;
}

void run(benchmark::State& state, const char* key, const QString& program, const QStringList& args) {
    double total = 0;
    for (auto _ : state) {
        const double s = pasteSeconds(program, args, key);
        state.SetIterationTime(s);
        total += s;
    }
    seconds[key] = total / static_cast<double>(state.iterations());
}

const QImage& capture() {
    static const QImage image = screenshotLikeImage(3840, 2160);
    return image;
}

void copyWithPictro() {
    static QTemporaryDir dir;
    static Settings settings(dir.filePath(QStringLiteral("Pictro.conf")));
    SaveService(settings).copyToClipboard(CapturedImage{capture(), 1.0});
}

const QStringList xclipPng{"-o", "-selection", "clipboard", "-t", "image/png"};

void BM_PastePngPictro(benchmark::State& state) {
    copyWithPictro();
    run(state, "png-pictro", QStringLiteral("xclip"), xclipPng);
}
void BM_PasteQtImagePictro(benchmark::State& state) {
    copyWithPictro();
    run(state, "qt-pictro", readerPath, {});
}
void BM_PastePngQtDefault(benchmark::State& state) {
    QGuiApplication::clipboard()->setImage(capture());
    run(state, "png-qt", QStringLiteral("xclip"), xclipPng);
}
void BM_PasteQtImageQtDefault(benchmark::State& state) {
    QGuiApplication::clipboard()->setImage(capture());
    run(state, "qt-qt", readerPath, {});
}
BENCHMARK(BM_PastePngPictro)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteQtImagePictro)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PastePngQtDefault)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteQtImageQtDefault)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    Platform::install(std::make_unique<X11Platform>());
    readerPath = qEnvironmentVariable("PICTRO_CLIPBOARD_READER", QStringLiteral(PICTRO_CLIPBOARD_READER));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf(
        "\nPaste of a copied 3840x2160 capture by a second process (wall time, process start included):\n"
        "  image/png via xclip:       Pictro %.0f ms, Qt's setImage %.0f ms (%.1fx faster)\n"
        "  Qt image object (reader):  Pictro %.0f ms, Qt's setImage %.0f ms (%.1fx faster)\n",
        seconds["png-pictro"] * 1e3, seconds["png-qt"] * 1e3, seconds["png-qt"] / seconds["png-pictro"],
        seconds["qt-pictro"] * 1e3, seconds["qt-qt"] * 1e3, seconds["qt-qt"] / seconds["qt-pictro"]);
    std::printf("  of which QClipboard::image() in the reader (transfer and PNG decode): Pictro %.0f ms, Qt "
                "%.0f ms\n",
                readerPasteMs["qt-pictro"], readerPasteMs["qt-qt"]);
    QGuiApplication::clipboard()->clear();
    return 0;
}
