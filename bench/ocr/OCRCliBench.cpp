// Text recognition of a 35-line page against the tesseract command-line program on the same
// crop, both limited to one thread, in interleaved rounds: Pictro's default language set
// (English, then Vietnamese) against the program with the same set and with English alone. Word
// accuracy is the share of the page's words recognised, in order (longest common subsequence).
#include "ocr/OCRService.h"
#include "support/BenchRows.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QStringList pageLines() {
    const QStringList words = QStringLiteral("the quick brown fox jumps over lazy dog while build finishes "
                                             "seconds then waits for review of every "
                                             "change before release notes are written and shared with all "
                                             "teams working on screen capture tools")
                                  .split(QLatin1Char(' '));
    QStringList lines;
    for (int line = 0; line < 35; ++line) {
        QStringList l;
        for (int w = 0; w < 12; ++w)
            l << words[(line * 7 + w * 5) % words.size()];
        l << QString::number(line * 13 + 7);
        lines << l.join(QLatin1Char(' '));
    }
    return lines;
}

QImage page(const QStringList& lines) {
    QImage image(1180, 35 * 24 + 40, QImage::Format_RGB32);
    image.fill(QColor(252, 252, 252));
    QPainter p(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    p.setFont(font);
    p.setPen(QColor(30, 30, 30));
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(20, 34 + i * 24, lines[i]);
    return image;
}

QStringList wordsOf(const QString& text) {
    return text.simplified().toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

double accuracy(const QStringList& truth, const QString& text) {
    const QStringList got = wordsOf(text);
    std::vector<std::vector<int>> lcs(size_t(truth.size()) + 1, std::vector<int>(size_t(got.size()) + 1, 0));
    for (qsizetype i = 1; i <= truth.size(); ++i)
        for (qsizetype j = 1; j <= got.size(); ++j)
            lcs[size_t(i)][size_t(j)] = truth[i - 1] == got[j - 1] ? lcs[size_t(i - 1)][size_t(j - 1)] + 1
                                                                   : std::max(lcs[size_t(i - 1)][size_t(j)],
                                                                              lcs[size_t(i)][size_t(j - 1)]);
    return truth.isEmpty() ? 0 : double(lcs[size_t(truth.size())][size_t(got.size())]) / double(truth.size());
}

struct Timed {
    double ms = 0;
    QString text;
};

Timed cli(const QString& png, const QString& languages) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("tesseract"), {png, QStringLiteral("stdout"), QStringLiteral("-l"), languages});
    p.waitForFinished(120000);
    return {t.nsecsElapsed() / 1e6, QString::fromUtf8(p.readAllStandardOutput())};
}

Timed pictro(const QImage& image) {
    QElapsedTimer t;
    t.start();
    const OCRResult r = OCRService::recognizeSync(image, {OCRLanguage::englishPlus, false});
    return {t.nsecsElapsed() / 1e6, r.text};
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // An optional first argument sets the rounds; options meant for benchmark programs are ignored.
    const int rounds = argc > 1 && argv[1][0] != '-' ? std::max(1, std::atoi(argv[1])) : 7;
    const QStringList lines = pageLines();
    const QStringList truth = wordsOf(lines.join(QLatin1Char(' ')));
    const QImage image = page(lines);
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("page.png"));
    image.save(png);
    pictro(image); // the engine starts once per thread; the rounds measure a warm engine
    std::vector<double> toSameSet, toEnglish, ours, same, english;
    double accOurs = 0, accSame = 0, accEnglish = 0;
    for (int r = 0; r < rounds; ++r) {
        const Timed a = pictro(image), b = cli(png, QStringLiteral("eng+vie")),
                    c = cli(png, QStringLiteral("eng"));
        ours.push_back(a.ms), same.push_back(b.ms), english.push_back(c.ms);
        toSameSet.push_back(a.ms / b.ms);
        toEnglish.push_back(a.ms / c.ms);
        accOurs = accuracy(truth, a.text), accSame = accuracy(truth, b.text),
        accEnglish = accuracy(truth, c.text);
    }
    std::printf("page of %lld words: Pictro (eng+vie, warm) %.0f ms, accuracy %.3f\n",
                static_cast<long long>(truth.size()), benchrows::median(ours), accOurs);
    std::printf("  tesseract CLI eng+vie %.0f ms, accuracy %.3f;  CLI eng %.0f ms, accuracy %.3f\n",
                benchrows::median(same), accSame, benchrows::median(english), accEnglish);
    benchrows::ratio("page OCR (eng+vie) vs tesseract CLI eng+vie", benchrows::median(toSameSet), 1.0);
    benchrows::ratio("page OCR (eng+vie) vs tesseract CLI eng only", benchrows::median(toEnglish), 1.0);
    char measured[64];
    std::snprintf(measured, sizeof measured, "%.3f vs CLI %.3f", accOurs, accSame);
    benchrows::row("page OCR word accuracy", measured, ">= CLI's", accOurs >= accSame);
    return 0;
}
