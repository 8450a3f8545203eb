// Recognition of a screen-sized picture of text, with the text engine's OpenMP threads limited to
// one (as the program runs) and unlimited (the engine's own default), each in a process of its own
// because the limit is only read when the process loads the engine.

#include "ocr/OCRService.h"

#include <QGuiApplication>
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
    for (int i = 0; i < 24; ++i) p.drawText(24, 70 + i * 32, QStringLiteral("Folder item number %1").arg(i + 1));
    // About 1100 pixels of type a line, so every line ends inside the page.
    const QString sentence = QStringLiteral(
        "The quick brown fox jumps over the lazy dog while build %1 finishes in %2 seconds, then waits.");
    for (int line = 0; line < 34; ++line) p.drawText(290, 74 + line * 24, sentence.arg(line + 1).arg(line * 3 + 7));
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

// Runs this program again with the limit set or removed and returns the mean time in milliseconds.
double childTime(const QString& program, const QByteArray& limit) {
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
    if (!child.waitForFinished(-1)) return -1;
    const QJsonArray runs = QJsonDocument::fromJson(child.readAllStandardOutput()).object()[QStringLiteral("benchmarks")].toArray();
    for (const auto& run : runs) {
        const QJsonObject o = run.toObject();
        if (o[QStringLiteral("name")].toString().startsWith(QStringLiteral("BM_RecognizeScreen")))
            return o[QStringLiteral("real_time")].toDouble();
    }
    return -1;
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
    const double limited = childTime(self, "1");
    const double unlimited = childTime(self, {});
    std::printf("recognise 1440x900 text, OMP_THREAD_LIMIT=1:  %8.1f ms\n", limited);
    std::printf("recognise 1440x900 text, no thread limit:    %8.1f ms (baseline)\n", unlimited);
    if (limited > 0 && unlimited > 0) std::printf("speed-up with the limit: %.2fx\n", unlimited / limited);
    return limited > 0 && unlimited > 0 ? 0 : 1;
}
