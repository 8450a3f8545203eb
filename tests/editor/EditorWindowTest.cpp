#include "EditorWindowTestSupport.h"

#include "editor/CanvasColors.h"
#include "editor/EditorColorButton.h"
#include "editor/EditorToolbar.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QImageReader>
#include <QLabel>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace editorwintest;
using testsupport::waitUntil;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class EditorWindowTest : public EditorWindowFixture {};

struct OpeningCase {
    const char* name;
    int pixelWidth, pixelHeight;
    double scale;
    bool preferZoom100;
    QSize content;
    const char* sizeLabel;
    const char* zoomLabel;
};

class EditorWindowOpening : public EditorWindowFixture, public ::testing::WithParamInterface<OpeningCase> {};

TEST_P(EditorWindowOpening, SizesTheWindowAndChoosesTheZoom) {
    const OpeningCase& c = GetParam();
    settings->set(keys::preferZoom100, c.preferZoom100);
    EditorWindowController* editor = openEditor(c.pixelWidth, c.pixelHeight, c.scale);
    EXPECT_EQ(editor->window()->size(), c.content);
    EXPECT_EQ(sizeText(editor), QString::fromUtf8(c.sizeLabel));
    EXPECT_EQ(zoomText(editor), QLatin1String(c.zoomLabel));
    // The window is centred on the visible frame, which is 870 points tall from the top (the
    // offscreen platform may nudge a window taller than its own screen by a point or two).
    const QRect frame = editor->window()->geometry();
    EXPECT_NEAR(frame.center().x(), 720, 1);
    EXPECT_NEAR(frame.center().y(), 435, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Editor, EditorWindowOpening,
    ::testing::Values(
        // A small image at full size in a window of the minimum width.
        OpeningCase{"small", 800, 600, 2.0, false, {560, 346}, "400×300pt", "100%"},
        // 2000 × 1500 points fill 90 % of the screen; 737 points of height are left for it.
        OpeningCase{"largeFitted", 4000, 3000, 2.0, false, {1296, 783}, "2000×1500pt", "49%"},
        OpeningCase{"largeAtFullSize", 4000, 3000, 2.0, true, {1296, 783}, "2000×1500pt", "100%"},
        OpeningCase{"retina", 2880, 1800, 2.0, false, {1296, 783}, "1440×900pt", "82%"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorWindowTest, FullSizeLargeImageScrolls) {
    settings->set(keys::preferZoom100, true);
    EditorWindowController* editor = openEditor(4000, 3000, 2.0);
    EXPECT_GT(editor->scrollView()->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(editor->scrollView()->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(editor->canvas()->size(), QSize(2000, 1500));
}

TEST_F(EditorWindowTest, ToolbarHoldsActionsToolsColourAndLabelsInOrder) {
    EditorWindowController* editor = openEditor(2000, 600, 2.0); // wide enough for the whole strip
    const EditorToolbar* bar = editor->toolbar();
    EXPECT_EQ(bar->height(), 46);
    std::vector<const QWidget*> order;
    for (auto a : {EditorToolbar::Action::copy, EditorToolbar::Action::save, EditorToolbar::Action::pin,
                   EditorToolbar::Action::recognizeText})
        order.push_back(bar->actionButton(a));
    for (EditorTool t : editortool::allCases()) {
        const QToolButton* button = bar->toolButton(t);
        EXPECT_EQ(button->objectName(), editortool::rawValue(t));
        EXPECT_EQ(button->toolTip(), editortool::tooltip(t));
        EXPECT_EQ(button->size(), QSize(30, 28));
        order.push_back(button);
    }
    order.push_back(bar->colorButton());
    order.push_back(bar->sizeLabel());
    order.push_back(bar->zoomLabel());
    const QPoint origin = bar->mapToGlobal(QPoint());
    EXPECT_GE(order.front()->mapToGlobal(QPoint()).x() - origin.x(), 62 + 8);
    for (size_t i = 1; i < order.size(); ++i)
        EXPECT_GT(order[i]->mapToGlobal(QPoint()).x(), order[i - 1]->mapToGlobal(QPoint()).x()) << i;
    EXPECT_EQ(bar->actionButton(EditorToolbar::Action::copy)->toolTip(), QStringLiteral("Copy (Ctrl+C)"));
    // The labels sit at the right edge, 14 points in.
    const QWidget* zoom = bar->zoomLabel();
    EXPECT_NEAR(zoom->mapTo(bar, QPoint(zoom->width(), 0)).x(), bar->width() - 14, 1);
}

TEST_F(EditorWindowTest, NarrowWindowGivesUpTheTitleBarRoomBeforeAnyButton) {
    EditorWindowController* editor = openEditor(1300, 600, 2.0); // 650 points wide
    const EditorToolbar* bar = editor->toolbar();
    const QToolButton* copy = bar->actionButton(EditorToolbar::Action::copy);
    EXPECT_LT(copy->mapTo(bar, QPoint()).x(), 8 + 62);
    EXPECT_EQ(copy->size(), QSize(30, 28));
    const QToolButton* crop = bar->toolButton(EditorTool::crop);
    EXPECT_LE(crop->mapTo(bar, QPoint(crop->width(), 0)).x(), bar->width());
}

struct NarrowCase {
    const char* name;
    int width;
    const char* sizeText;
};

class ToolbarWidth : public ::testing::TestWithParam<NarrowCase> {};

TEST_P(ToolbarWidth, NothingIsCutOffAndEveryControlStaysWhole) {
    EditorToolbar bar(Qt::red);
    bar.setSizeText(QString::fromUtf8(GetParam().sizeText));
    bar.setZoomText(QStringLiteral("100%"));
    bar.resize(GetParam().width, EditorToolbar::barHeight);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    for (const QWidget* w : bar.findChildren<QWidget*>()) {
        if (!w->isVisible() || w->parentWidget() == &bar)
            continue; // the row itself may be wider than its contents
        const QRect r(w->mapTo(&bar, QPoint()), w->size());
        EXPECT_TRUE(bar.rect().contains(r))
            << w->metaObject()->className() << " " << w->objectName().toStdString();
    }
    for (const QLabel* l : {bar.sizeLabel(), bar.zoomLabel()}) {
        EXPECT_GE(l->width(), l->fontMetrics().horizontalAdvance(l->text())) << l->text().toStdString();
        EXPECT_GE(l->height(), l->fontMetrics().height() - 1);
    }
    EXPECT_EQ(bar.sizeLabel()->text() == QString::fromUtf8(GetParam().sizeText),
              bar.sizeLabel()->toolTip().isEmpty())
        << "a shortened size says its whole text in its tooltip";
    for (EditorTool t : editortool::allCases())
        EXPECT_GE(bar.toolButton(t)->width(), EditorToolbar::minimumButtonWidth);
}

INSTANTIATE_TEST_SUITE_P(Widths, ToolbarWidth,
                         ::testing::Values(NarrowCase{"minimumWindow", 560, "320×240pt"},
                                           NarrowCase{"minimumWindowTallCapture", 560, "1440×20000pt"},
                                           NarrowCase{"betweenSteps", 640, "1440×900pt"},
                                           NarrowCase{"smallScreen", 480, "12345×67890pt"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorWindowTest, ChosenToolIsTintedAndTheOthersAreGrey) {
    EditorWindowController* editor = openEditor(800, 600, 2.0);
    const EditorToolbar* bar = editor->toolbar();
    EXPECT_EQ(editor->canvas()->currentTool(), EditorTool::select);
    QTest::mouseClick(bar->toolButton(EditorTool::oval), Qt::LeftButton);
    EXPECT_EQ(editor->canvas()->currentTool(), EditorTool::oval);
    for (EditorTool t : editortool::allCases()) {
        const QColor expected =
            t == EditorTool::oval ? EditorToolbar::accentColor() : EditorToolbar::idleTint();
        EXPECT_EQ(bar->toolButton(t)->property("tint").value<QColor>(), expected)
            << editortool::rawValue(t).toStdString();
    }
}

TEST_F(EditorWindowTest, ColourChosenInTheDialogRecoloursTheCanvas) {
    EditorWindowController* editor = openEditor(800, 600, 2.0);
    EditorColorButton* button = editor->toolbar()->colorButton();
    EXPECT_EQ(button->color(), canvascolors::systemRed());
    EXPECT_EQ(editor->canvas()->currentColor(), canvascolors::systemRed());
    QTest::mouseClick(button, Qt::LeftButton);
    QColorDialog* dialog = editor->window()->findChild<QColorDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->currentColor(), canvascolors::systemRed());
    dialog->setCurrentColor(QColor(0, 122, 255));
    dialog->accept();
    EXPECT_EQ(button->color(), QColor(0, 122, 255));
    EXPECT_EQ(editor->canvas()->currentColor(), QColor(0, 122, 255));
}

TEST_F(EditorWindowTest, AlwaysOnTopSettingKeepsTheWindowAbove) {
    for (bool onTop : {false, true}) {
        settings->set(keys::alwaysOnTop, onTop);
        EditorWindowController* editor = openEditor(800, 600, 2.0);
        EXPECT_EQ(editor->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
        editor->closeWindow();
    }
}

TEST_F(EditorWindowTest, CropThroughTheCanvasChangesTheSizeLabelAndUndoRestoresIt) {
    settings->set(keys::preferZoom100, true);
    EditorWindowController* editor = openEditor(2880, 1800, 2.0);
    EXPECT_EQ(sizeText(editor), QStringLiteral("1440×900pt"));
    QWidget* canvas = editor->canvas();
    QTest::keyClick(canvas, Qt::Key_C);
    ASSERT_EQ(editor->canvas()->currentTool(), EditorTool::crop);
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(canvas, QPoint(200, 180));
    QTest::mouseMove(canvas, QPoint(300, 250));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(300, 250));
    EXPECT_EQ(sizeText(editor), QStringLiteral("200×150pt"));
    QCoreApplication::processEvents(); // the crop's undo group closes on the event loop
    QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(sizeText(editor), QStringLiteral("1440×900pt"));
    QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(sizeText(editor), QStringLiteral("200×150pt"));
}

TEST_F(EditorWindowTest, CopyPutsTheImageOnTheClipboardAndCloses) {
    EditorWindowController* editor = openEditor(800, 600, 2.0);
    QPointer<QWidget> window = editor->window();
    QTest::mouseClick(editor->toolbar()->actionButton(EditorToolbar::Action::copy), Qt::LeftButton);
    EXPECT_FALSE(isOpen(editor));
    EXPECT_TRUE(EditorWindowController::controllers().empty());
    ASSERT_FALSE(platform->fakePasteboard.png.isEmpty());
    EXPECT_EQ(QImage::fromData(platform->fakePasteboard.png).size(), QSize(800, 600));
    EXPECT_EQ(toastShown(), QStringLiteral("Copied to clipboard"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST_F(EditorWindowTest, PinFloatsTheImageAndCloses) {
    EditorWindowController* editor = openEditor(800, 600, 2.0);
    const size_t pinsBefore = PinWindow::pins().size();
    QTest::mouseClick(editor->toolbar()->actionButton(EditorToolbar::Action::pin), Qt::LeftButton);
    EXPECT_FALSE(isOpen(editor));
    ASSERT_EQ(PinWindow::pins().size(), pinsBefore + 1);
    EXPECT_EQ(PinWindow::pins().back()->captured().image.size(), QSize(800, 600));
    EXPECT_DOUBLE_EQ(PinWindow::pins().back()->captured().scale, 2.0);
}

TEST_F(EditorWindowTest, RecognitionWithoutTextSaysSoAndLeavesTheClipboardAlone) {
    EditorWindowController* editor = openEditor(800, 600, 2.0);
    QTest::mouseClick(editor->toolbar()->actionButton(EditorToolbar::Action::recognizeText), Qt::LeftButton);
    // Recognition runs off the main thread: its toast comes when the engine is done, after a
    // "Reading text…" one if that takes a while.
    ASSERT_TRUE(waitUntil(
        [&] { return ToastHUD::current() && toastShown() != QStringLiteral("Reading text…"); }, 30000));
    EXPECT_EQ(toastShown(), QStringLiteral("No text found"));
    EXPECT_TRUE(platform->fakePasteboard.operations.empty());
    EXPECT_TRUE(isOpen(editor));
}

TEST_F(EditorWindowTest, RecognisedTextGoesToTheClipboardCountedInCharacters) {
    // "é" written as e + combining accent is one character to the reader.
    const QString text = QStringLiteral("Cafe\u0301 42");
    EditorWindowController::reportRecognizedText(text);
    EXPECT_EQ(platform->fakePasteboard.text, text);
    using Op = FakePasteboard::Op;
    EXPECT_EQ(platform->fakePasteboard.operations, (std::vector<Op>{Op::clear, Op::text}));
    EXPECT_EQ(toastShown(), QStringLiteral("Text copied (7 chars)"));
}

TEST_F(EditorWindowTest, ClosingOneEditorLeavesTheOthersOpen) {
    EditorWindowController* first = openEditor(800, 600, 2.0);
    EditorWindowController* second = openEditor(400, 300, 1.0);
    ASSERT_EQ(EditorWindowController::controllers().size(), 2u);
    first->window()->close();
    EXPECT_FALSE(isOpen(first));
    EXPECT_TRUE(isOpen(second));
    EXPECT_TRUE(second->window()->isVisible());
    EXPECT_TRUE(savedFiles().isEmpty()); // closing saves nothing
    EXPECT_TRUE(platform->fakePasteboard.operations.empty());
}

// Escape: what it does depends on the two settings alone.
struct EscapeCase {
    const char* name;
    bool escCopy, escSave;
    const char* toast;
};

class EditorEscape : public EditorWindowFixture, public ::testing::WithParamInterface<EscapeCase> {};

TEST_P(EditorEscape, CopiesSavesAndClosesAsTheSettingsSay) {
    const EscapeCase& c = GetParam();
    settings->set(keys::escCopy, c.escCopy);
    settings->set(keys::escSave, c.escSave);
    EditorWindowController* editor = openEditor(800, 600, 2.0);
    QTest::keyClick(editor->canvas(), Qt::Key_Escape);
    EXPECT_FALSE(isOpen(editor));
    EXPECT_EQ(!platform->fakePasteboard.png.isEmpty(), c.escCopy);
    const QStringList files = savedFiles();
    ASSERT_EQ(files.size(), c.escSave ? 1 : 0);
    if (c.escSave) {
        EXPECT_TRUE(files.front().startsWith(QStringLiteral("Pictro "))) << files.front().toStdString();
        EXPECT_EQ(QImage(QDir(folder.path()).filePath(files.front())).size(), QSize(800, 600));
    }
    EXPECT_EQ(toastShown(), QString::fromLatin1(c.toast));
}

INSTANTIATE_TEST_SUITE_P(Editor, EditorEscape,
                         ::testing::Values(EscapeCase{"neither", false, false, ""},
                                           EscapeCase{"copyOnly", true, false, "Copied to clipboard"},
                                           EscapeCase{"saveOnly", false, true, "Saved"},
                                           EscapeCase{"both", true, true, "Copied to clipboard"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A failed save keeps the editor and its edits, and says so instead of "Saved".
TEST_F(EditorWindowTest, EscapeKeepsTheEditorOpenWhenTheSaveFails) {
    settings->set(keys::escCopy, false);
    settings->set(keys::escSave, true);
    QFile blocker(folder.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    settings->set(keys::screenshotsFolder, blocker.fileName() + QStringLiteral("/inside"));
    EditorWindowController* editor = openEditor(800, 600, 2.0);
    QTest::keyClick(editor->canvas(), Qt::Key_Escape);
    EXPECT_TRUE(isOpen(editor));
    EXPECT_EQ(toastShown(), QStringLiteral("Save failed"));
}

// Saving to a chosen location.
struct SaveCase {
    const char* name;
    bool downscale;
    const char* format; // as QImageReader names it
    QSize pixels;
};

class EditorSaveTo : public EditorWindowFixture, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(EditorSaveTo, WritesTheFormatTheExtensionAsksForAndStaysOpen) {
    const SaveCase& c = GetParam();
    settings->set(keys::downscaleRetina, c.downscale);
    EditorWindowController* editor = openEditor(800, 600, 2.0);
    const QString path = folder.filePath(QString::fromLatin1(c.name));
    ASSERT_TRUE(editor->saveTo(path));
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    EXPECT_EQ(reader.format(), QByteArray(c.format));
    EXPECT_EQ(reader.size(), c.pixels);
    EXPECT_TRUE(isOpen(editor));
    EXPECT_TRUE(editor->window()->isVisible());
    EXPECT_EQ(toastShown(), QStringLiteral("Saved ") + QString::fromLatin1(c.name));
}

INSTANTIATE_TEST_SUITE_P(Editor, EditorSaveTo,
                         ::testing::Values(SaveCase{"x.JPG", false, "jpeg", {800, 600}},
                                           SaveCase{"x.jpeg", false, "jpeg", {800, 600}},
                                           SaveCase{"x.JpEg", false, "jpeg", {800, 600}},
                                           SaveCase{"x.png", false, "png", {800, 600}},
                                           SaveCase{"x.tiff", false, "png", {800, 600}},
                                           SaveCase{"x", false, "png", {800, 600}},
                                           SaveCase{"small.png", true, "png", {400, 300}}),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (char& ch : n)
                                 if (ch == '.') ch = '_';
                             return n;
                         });

TEST_F(EditorWindowTest, SaveReplacesAFileAlreadyThere) {
    EditorWindowController* editor = openEditor(800, 600, 2.0);
    const QString path = folder.filePath(QStringLiteral("old.png"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("not an image");
    old.close();
    ASSERT_TRUE(editor->saveTo(path));
    EXPECT_EQ(QImage(path).size(), QSize(800, 600));
    EXPECT_EQ(savedFiles(), QStringList{QStringLiteral("old.png")}); // no temporary left behind
}

// A folder nobody may write into, the superuser included (an immutable folder for root, one
// without write permission for everyone else); writable again when the object goes.
class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(const QString& path) : m_path(path) {
        if (geteuid() != 0) {
            m_locked = QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
            return;
        }
        m_locked = setImmutable(true);
    }
    ~ReadOnlyFolder() {
        if (!m_locked) return;
        if (geteuid() == 0)
            setImmutable(false);
        else
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool locked() const { return m_locked; }

  private:
    bool setImmutable(bool on) {
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0) return false;
        int flags = 0;
        bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return ok;
    }

    QString m_path;
    bool m_locked = false;
};

TEST_F(EditorWindowTest, SaveIntoAReadOnlyFolderFailsAndKeepsTheFileThere) {
    EditorWindowController* editor = openEditor(800, 600, 2.0);
    QDir(folder.path()).mkdir(QStringLiteral("locked"));
    const QString path = folder.filePath(QStringLiteral("locked/x.png"));
    ASSERT_TRUE(testImage(40, 30).save(path));
    const QByteArray before = bytesOf(path);
    bool saved = true;
    {
        ReadOnlyFolder locked(folder.filePath(QStringLiteral("locked")));
        if (!locked.locked()) GTEST_SKIP() << "this system lets no folder be made read-only here";
        saved = editor->saveTo(path);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(bytesOf(path), before);
    EXPECT_EQ(toastShown(), QStringLiteral("Save failed"));
    EXPECT_TRUE(isOpen(editor));
}

TEST_F(EditorWindowTest, FailedWriteLeavesTheExistingFileWhole) {
    EditorWindowController* editor = openEditor(1600, 1200, 2.0);
    const QString path = folder.filePath(QStringLiteral("keep.png"));
    ASSERT_TRUE(testImage(40, 30).save(path));
    const QByteArray before = bytesOf(path);
    // A file-size limit makes the write stop part-way, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 256;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = editor->saveTo(path);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(saved);
    EXPECT_EQ(bytesOf(path), before);
    EXPECT_EQ(QImage(path).size(), QSize(40, 30));
    EXPECT_EQ(savedFiles(), QStringList{QStringLiteral("keep.png")});
    EXPECT_EQ(toastShown(), QStringLiteral("Save failed"));
}

TEST_F(EditorWindowTest, SaveButtonOffersATimeStampedNameInTheScreenshotsFolder) {
    EditorWindowController* editor = openEditor(800, 600, 2.0);
    QTest::mouseClick(editor->toolbar()->actionButton(EditorToolbar::Action::save), Qt::LeftButton);
    QFileDialog* dialog = editor->window()->findChild<QFileDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->nameFilters().size(), 2);
    ASSERT_EQ(dialog->selectedFiles().size(), 1);
    const QFileInfo suggested(dialog->selectedFiles().front());
    EXPECT_EQ(QDir(suggested.absolutePath()).canonicalPath(), QDir(folder.path()).canonicalPath());
    static const QRegularExpression name(
        QStringLiteral(R"(^Pictro \d{4}-\d\d-\d\d at \d\d\.\d\d\.\d\d\.png$)"));
    EXPECT_TRUE(name.match(suggested.fileName()).hasMatch()) << suggested.fileName().toStdString();
    // Choosing a location writes there and leaves the editor open.
    const QString chosen = folder.filePath(QStringLiteral("chosen.jpg"));
    emit dialog->fileSelected(chosen);
    dialog->reject();
    EXPECT_TRUE(QFileInfo::exists(chosen));
    EXPECT_TRUE(isOpen(editor));
}

} // namespace
