// The capture road through the real program: an area dragged on the frozen screens, a window
// picked by hovering, Esc, and the preview thumbnail, each checked on disk, in the event log and
// on screen (the toast and thumbnail windows carry role titles).
#include "RunningPictro.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

using testsupport::readFile;
using testsupport::waitUntil;

namespace {

// A window of another program on the screen: a pattern whose every pixel differs from its
// neighbours, so a crop that is off by one pixel cannot pass as the right one.
class PatternWindow : public QWidget {
  public:
    explicit PatternWindow(const QColor& fill = {}) : m_fill(fill) {
        setWindowTitle(QStringLiteral("Road target"));
        setGeometry(200, 150, 480, 360);
        show();
    }
    // Waits until the window is on the screen with its own pixels, before Pictro looks at it. The
    // first window of a test program can take long on a loaded machine: fonts and theme load first.
    bool shown() {
        const QPoint middle(width() / 2, height() / 2);
        return testsupport::waitExposed(this, 20000) &&
               waitUntil([&] { return x11test::rootPixel(mapToGlobal(middle)).rgb() == colourAt(middle); },
                         20000);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (m_fill.isValid()) {
            p.fillRect(rect(), m_fill);
            return;
        }
        QImage pattern(size(), QImage::Format_RGB32);
        for (int y = 0; y < pattern.height(); ++y)
            for (int x = 0; x < pattern.width(); ++x)
                pattern.setPixel(x, y, colourAt(QPoint(x, y)));
        p.drawImage(0, 0, pattern);
    }

  private:
    QRgb colourAt(QPoint p) const {
        return m_fill.isValid() ? m_fill.rgb()
                                : qRgb((p.x() * 7) % 256, (p.y() * 5) % 256, (p.x() + p.y()) % 256);
    }

    QColor m_fill;
};

class CaptureRoad : public RunningPictro {
  protected:
    bool selectionShows() { return windowShows(QStringLiteral("^Pictro Selection$")); }
    void drag(QPoint from, QPoint to) {
        xdotool({QStringLiteral("mousemove"), QString::number(from.x()), QString::number(from.y())});
        xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
        const QPoint middle = (from + to) / 2;
        xdotool({QStringLiteral("mousemove"), QString::number(middle.x()), QString::number(middle.y())});
        xdotool({QStringLiteral("mousemove"), QString::number(to.x()), QString::number(to.y())});
        xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    }
    // The file that is not among `before` (names alone do not order captures of the same second:
    // "… (2).png" sorts before "….png").
    QImage savedSince(const QStringList& before) const {
        for (const QString& name : savedFiles())
            if (!before.contains(name)) return QImage(QDir(shots()).filePath(name));
        return {};
    }
};

TEST_F(CaptureRoad, ADraggedAreaSavesExactlyThosePixelsAndConfirmsWithAToast) {
    PatternWindow target;
    ASSERT_TRUE(target.shown());
    // PNG, so the comparison is exact (the pattern would otherwise be saved as a photo).
    start("saveFormat=png\nhotkey_repeatArea=21:768\n");
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+1")});
    ASSERT_TRUE(waitUntil([&] { return savedCount() == 1; }));
    const QImage screen = savedSince({});
    const QStringList before = savedFiles();

    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+2")});
    ASSERT_TRUE(selectionShows());
    drag({250, 200}, {450, 380});
    ASSERT_TRUE(waitUntil([&] { return savedCount() == 2; })) << pictro.readAllStandardError().toStdString();

    const QImage area = savedSince(before).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(area.size(), QSize(200, 180));
    const QImage expected = screen.copy(250, 200, 200, 180).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(area, expected);

    EXPECT_TRUE(readFile(log()).contains(QStringLiteral(" capture source=area px=200x180\n")));
    EXPECT_TRUE(windowShows(QStringLiteral("^Pictro Toast$")));

    // Repeating takes the same rectangle again, without a selection.
    const QStringList beforeRepeat = savedFiles();
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+4")});
    ASSERT_TRUE(waitUntil([&] { return savedCount() == 3; }));
    EXPECT_EQ(savedSince(beforeRepeat).convertToFormat(QImage::Format_RGB32), expected);
}

TEST_F(CaptureRoad, EscEndsTheSelectionWithoutACapture) {
    start();
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+2")});
    ASSERT_TRUE(selectionShows());
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    EXPECT_TRUE(windowGone(QStringLiteral("^Pictro Selection$")));

    // The next selection starts normally: Esc left nothing behind that refuses it.
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+2")});
    EXPECT_TRUE(selectionShows());
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    EXPECT_TRUE(windowGone(QStringLiteral("^Pictro Selection$")));
    // By now a capture that either Esc let through would have been saved and logged.
    EXPECT_EQ(savedCount(), 0);
    EXPECT_FALSE(readFile(log()).contains(QStringLiteral("capture")));
}

TEST_F(CaptureRoad, AWindowPickedByHoveringIsCapturedWithItsOwnPixels) {
    const QColor green(10, 200, 30);
    PatternWindow target(green);
    ASSERT_TRUE(target.shown());
    start("hotkey_anyWindow=20:768\n");
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+3")});
    ASSERT_TRUE(selectionShows());
    // The pointer's motion reaches the overlay before the click does.
    xdotool({QStringLiteral("mousemove"), QStringLiteral("440"), QStringLiteral("330")});
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(waitUntil([&] { return savedCount() == 1; }, 8000))
        << pictro.readAllStandardError().toStdString();

    const QImage shot = savedSince({});
    // The window's frame (decorations included) at least, and its own content in the middle.
    EXPECT_GE(shot.width(), 480);
    EXPECT_GE(shot.height(), 360);
    EXPECT_EQ(QColor(shot.pixel(shot.width() / 2, shot.height() / 2)).rgb(), green.rgb());
    EXPECT_TRUE(readFile(log()).contains(QStringLiteral(" capture source=")));
}

TEST_F(CaptureRoad, WithThePreviewChosenAnAreaCaptureShowsTheThumbnail) {
    PatternWindow target;
    ASSERT_TRUE(target.shown());
    start("afterShow=true\nafterCropShow=thumbnail\n");
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+2")});
    ASSERT_TRUE(selectionShows());
    drag({300, 250}, {400, 330});
    ASSERT_TRUE(waitUntil([&] { return savedCount() == 1; }));
    ASSERT_TRUE(windowShows(QStringLiteral("^Pictro Thumbnail$")));

    // A click in the thumbnail's middle (away from its close button) opens the capture in the editor.
    const QString geometry = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                      QStringLiteral("--name"), QStringLiteral("^Pictro Thumbnail$"),
                                      QStringLiteral("getwindowgeometry"), QStringLiteral("--shell")});
    const auto value = [&](const QString& key) {
        for (const QString& line : geometry.split(QLatin1Char('\n')))
            if (line.startsWith(key + QLatin1Char('='))) return line.mid(key.size() + 1).toInt();
        return 0;
    };
    const QPoint middle(value(QStringLiteral("X")) + value(QStringLiteral("WIDTH")) / 2,
                        value(QStringLiteral("Y")) + value(QStringLiteral("HEIGHT")) / 2);
    xdotool({QStringLiteral("mousemove"), QString::number(middle.x()), QString::number(middle.y())});
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    EXPECT_TRUE(windowShows(QStringLiteral("^Pictro Editor$")));
}

TEST_F(CaptureRoad, AFullScreenCaptureOpensTheEditorWhoseCopyCarriesWhatWasDrawn) {
    PatternWindow target(QColor(240, 240, 240));
    ASSERT_TRUE(target.shown());
    // The editor opens by default; the capture is also saved so the test has the original.
    start("afterShow=true\nsaveFormat=png\n");
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+1")});
    ASSERT_TRUE(windowShows(QStringLiteral("^Pictro Editor$")));
    ASSERT_TRUE(waitUntil([&] { return savedCount() == 1; }));
    const QImage original = savedSince({}).convertToFormat(QImage::Format_RGB32);

    // At 100 % the canvas starts under the 46-point toolbar, at the window's left edge.
    const QString editor = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                    QStringLiteral("--name"), QStringLiteral("^Pictro Editor$")})
                               .split(QLatin1Char('\n'))
                               .first();
    xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), editor});
    xdotool({QStringLiteral("key"), QStringLiteral("r")});
    const QPoint from(250, 200), to(400, 300); // in the image's pixels = canvas points
    const auto moveInEditor = [&](QPoint p) {
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), editor, QString::number(p.x()),
                 QString::number(p.y() + 46)});
    };
    moveInEditor(from);
    xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
    moveInEditor((from + to) / 2);
    moveInEditor(to);
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+c")});
    EXPECT_TRUE(windowGone(QStringLiteral("^Pictro Editor$"))) << "copy closes the editor";

    const testsupport::ProgramRun xclip = testsupport::runProgram(
        QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                  QStringLiteral("-t"), QStringLiteral("image/png"), QStringLiteral("-o")});
    ASSERT_TRUE(xclip.ok());
    const QImage copied = QImage::fromData(xclip.out, "PNG").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(copied.size(), original.size());

    // Every changed pixel lies on the rectangle's 3-point outline (with its anti-aliased edge).
    QRect changed;
    for (int y = 0; y < copied.height(); ++y)
        for (int x = 0; x < copied.width(); ++x)
            if (copied.pixel(x, y) != original.pixel(x, y)) changed |= QRect(x, y, 1, 1);
    const QRect outline = QRect(from, to - QPoint(1, 1));
    EXPECT_TRUE(outline.adjusted(-3, -3, 3, 3).contains(changed))
        << changed.x() << "," << changed.y() << " " << changed.width() << "x" << changed.height();
    EXPECT_TRUE(changed.contains(outline.adjusted(1, 1, -1, -1)));
    const QRect inside = outline.adjusted(4, 4, -4, -4);
    EXPECT_EQ(copied.copy(inside), original.copy(inside));
}

} // namespace
