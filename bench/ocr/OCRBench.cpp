// Recognition of a screen-sized picture of text as the program runs it (no OMP_THREAD_LIMIT: the
// reading thread keeps the engine to itself) against the engine's own threads (a limit the user set
// high enough to leave them alone), each in a process of its own because the runtime reads the
// variable once, when the process starts.

#include "ocr/OCRService.h"

#include <QGuiApplication>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr char kChildVariable[] = "PICTRO_OCR_BENCH_CHILD";

// A 1440 × 900 window: a title bar, a sidebar of short items and a page of paragraphs in the sizes
// desktop applications use.
QImage screenshotLike() {
    QImage image(1440, 900, QImage::Format_RGB32);
    image.fill(QColor(246, 246, 246));
    QPainter p(&image);
    p.fillRect(0, 0, 1440, 36, QColor(52, 52, 56));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 1440, 36), Qt::AlignCenter, QStringLiteral("Project notes — Document Viewer"));
    p.fillRect(0, 36, 260, 864, QColor(230, 232, 236));
    p.setPen(QColor(30, 30, 30));
    for (int i = 0; i < 24; ++i)
        p.drawText(24, 70 + i * 32, QStringLiteral("Folder item number %1").arg(i + 1));
    // About 1100 pixels of type a line, so every line ends inside the page.
    const QString sentence = QStringLiteral(
        "The quick brown fox jumps over the lazy dog while build %1 finishes in %2 seconds, then waits.");
    for (int line = 0; line < 34; ++line)
        p.drawText(290, 74 + line * 24, sentence.arg(line + 1).arg(line * 3 + 7));
    return image;
}

void BM_RecognizeScreen(benchmark::State& state) {
    const QImage image = screenshotLike();
    qsizetype characters = 0;
    for (auto _ : state) {
        const OCRResult r = OCRService::recognizeSync(image, {OCRLanguage::englishPlus, false});
        characters = r.text.size();
        benchmark::DoNotOptimize(characters);
    }
    state.counters["chars"] = static_cast<double>(characters);
}
BENCHMARK(BM_RecognizeScreen)->Unit(benchmark::kMillisecond)->Iterations(3);

// One short line, as a quick drag over a label gives: here starting the engine would dominate,
// so this shows what keeping it per thread saves (the first iteration pays for the start).
void BM_RecognizeSmallArea(benchmark::State& state) {
    QImage image(500, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(10, 35, QStringLiteral("Select this short line of text"));
    p.end();
    for (auto _ : state)
        benchmark::DoNotOptimize(OCRService::recognizeSync(image, {OCRLanguage::englishPlus, false}));
}
BENCHMARK(BM_RecognizeSmallArea)->Unit(benchmark::kMillisecond)->Iterations(20);

using Times = QHash<QString, double>;

// Runs this program again with the limit set or removed; the mean time of each benchmark in ms.
Times childTimes(const QString& program, const QByteArray& limit) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildVariable), QStringLiteral("1"));
    if (limit.isEmpty())
        env.remove(QStringLiteral("OMP_THREAD_LIMIT"));
    else
        env.insert(QStringLiteral("OMP_THREAD_LIMIT"), QString::fromLatin1(limit));
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, {QStringLiteral("--benchmark_format=json")});
    Times times;
    if (!child.waitForFinished(-1)) return times;
    const QJsonArray runs = QJsonDocument::fromJson(child.readAllStandardOutput())
                                .object()[QStringLiteral("benchmarks")]
                                .toArray();
    for (const auto& run : runs) {
        const QJsonObject o = run.toObject();
        times.insert(o[QStringLiteral("name")].toString().section(QLatin1Char('/'), 0, 0),
                     o[QStringLiteral("real_time")].toDouble());
    }
    return times;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(kChildVariable)) {
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        return 0;
    }
    const QString self = QCoreApplication::applicationFilePath();
    const Times asRun = childTimes(self, {});
    const Times engineThreads = childTimes(self, "64");
    for (const char* name : {"BM_RecognizeScreen", "BM_RecognizeSmallArea"}) {
        const double with = asRun.value(QString::fromLatin1(name), -1);
        const double without = engineThreads.value(QString::fromLatin1(name), -1);
        std::printf(
            "%-22s as Pictro runs: %8.1f ms   engine's own threads (baseline): %8.1f ms   speed-up %.2fx\n",
            name, with, without, with > 0 ? without / with : 0.0);
    }
    return asRun.size() == 2 && engineThreads.size() == 2 ? 0 : 1;
}
