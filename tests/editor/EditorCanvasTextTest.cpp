// Typing text: the field the text tool opens, and every way typing ends.
#include "EditorCanvasTestSupport.h"

#include "editor/Annotations.h"

#include <QLineEdit>
#include <QShortcut>
#include <QTest>
#include <QVBoxLayout>

namespace {

using namespace canvastest;

const TextAnnotation* textAt(const EditorCanvasView& c, size_t i) {
    return i < c.annotations().size() ? dynamic_cast<const TextAnnotation*>(c.annotations()[i].get())
                                      : nullptr;
}

// Counts the key presses of one key that arrive at a widget, wherever they were sent.
class KeyCounter : public QObject {
  public:
    explicit KeyCounter(int key) : m_key(key) {}
    int count = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == m_key) ++count;
        return false;
    }

  private:
    int m_key;
};

TEST_F(CanvasTest, TextToolOpensABoldFieldBelowTheClickAndScalesWithTheZoom) {
    EditorCanvasView& c = make(capture(300, 100, 2.0));
    c.setCurrentColor(QColor(0, 128, 255));
    c.setCurrentTool(EditorTool::text);
    click(&c, {20, 60}); // view (20, 40)
    QLineEdit* field = c.textField();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->parentWidget(), &c);
    EXPECT_EQ(field->placeholderText(), QStringLiteral("Text…"));
    EXPECT_TRUE(field->font().bold());
    EXPECT_EQ(field->font().pixelSize(), 18);
    EXPECT_TRUE(field->hasFrame());
    field->ensurePolished();
    EXPECT_EQ(field->palette().color(QPalette::Text), QColor(0, 128, 255));
    EXPECT_EQ(field->palette().color(QPalette::Base), QColor(0, 0, 0, 77));
    // 220 × 26 points whose bottom edge is 12 points under the click.
    EXPECT_EQ(field->geometry(), QRect(20, 46, 220, 26));
    EXPECT_TRUE(c.annotations().empty());

    c.setMagnification(2);
    EXPECT_EQ(field->geometry(), QRect(40, 92, 440, 52));
    EXPECT_EQ(field->font().pixelSize(), 36);

    QTest::keyClicks(field, "Hi");
    QTest::keyClick(field, Qt::Key_Return);
    const TextAnnotation* text = textAt(c, 0);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->origin, QPointF(40, 80)); // the click, in pixels
    EXPECT_DOUBLE_EQ(text->fontSizePt, 18);
    EXPECT_EQ(text->color, QColor(0, 128, 255));
}

struct CommitCase {
    const char* typed;
    Qt::Key key;
    const char* kept; // null: nothing is added
};

class TextCommitTest : public CanvasTest, public ::testing::WithParamInterface<CommitCase> {};

TEST_P(TextCommitTest, ReturnAndEscapeBothKeepTheTrimmedText) {
    EditorCanvasView& c = make(capture(200, 100));
    c.setCurrentTool(EditorTool::text);
    click(&c, {20, 50});
    ASSERT_NE(c.textField(), nullptr);
    QTest::keyClicks(c.textField(), GetParam().typed);
    QTest::keyClick(c.textField(), GetParam().key);
    QApplication::processEvents();
    EXPECT_EQ(c.textField(), nullptr);
    if (GetParam().kept) {
        ASSERT_NE(textAt(c, 0), nullptr);
        EXPECT_EQ(textAt(c, 0)->text, QString::fromUtf8(GetParam().kept));
        EXPECT_TRUE(undo.canUndo());
    } else {
        EXPECT_TRUE(c.annotations().empty());
        EXPECT_FALSE(undo.canUndo());
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, TextCommitTest,
                         ::testing::Values(CommitCase{"   ", Qt::Key_Return, nullptr},
                                           CommitCase{"", Qt::Key_Return, nullptr},
                                           CommitCase{"  ", Qt::Key_Escape, nullptr},
                                           CommitCase{"Hello", Qt::Key_Escape, "Hello"},
                                           CommitCase{"  two words ", Qt::Key_Return, "two words"},
                                           CommitCase{"x", Qt::Key_Enter, "x"}));

TEST_F(CanvasTest, EscapeInTheFieldNeverReachesTheWindow) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    canvas = std::make_unique<EditorCanvasView>(capture(200, 100));
    EditorCanvasView& c = *canvas;
    layout->addWidget(&c);
    int closes = 0;
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    QObject::connect(shortcut, &QShortcut::activated, [&] { ++closes; });
    KeyCounter atCanvas(Qt::Key_Escape);
    c.installEventFilter(&atCanvas);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    // The window's Escape works while no text is typed...
    c.setFocus();
    QTest::keyClick(&c, Qt::Key_Escape);
    ASSERT_EQ(closes, 1);

    // ...but not while typing.
    c.setCurrentTool(EditorTool::text);
    click(&c, {20, 50});
    ASSERT_NE(c.textField(), nullptr);
    EXPECT_TRUE(c.textField()->hasFocus());
    const int canvasEscapes = atCanvas.count;
    QTest::keyClicks(c.textField(), "Kept");
    QTest::keyClick(c.textField(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(atCanvas.count, canvasEscapes);
    ASSERT_NE(textAt(c, 0), nullptr);
    EXPECT_EQ(textAt(c, 0)->text, QStringLiteral("Kept"));
    EXPECT_TRUE(c.hasFocus()); // keys go to the canvas again
    layout->removeWidget(&c);
    c.setParent(nullptr);
}

TEST_F(CanvasTest, LosingFocusCommits) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    canvas = std::make_unique<EditorCanvasView>(capture(200, 100));
    EditorCanvasView& c = *canvas;
    layout->addWidget(&c);
    auto* other = new QLineEdit(&window);
    layout->addWidget(other);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    c.setCurrentTool(EditorTool::text);
    click(&c, {20, 50});
    ASSERT_NE(c.textField(), nullptr);
    QTest::keyClicks(c.textField(), "Away");
    other->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(c.textField(), nullptr);
    ASSERT_NE(textAt(c, 0), nullptr);
    EXPECT_EQ(textAt(c, 0)->text, QStringLiteral("Away"));
    EXPECT_TRUE(other->hasFocus()); // committing does not pull focus back
    layout->removeWidget(&c);
    c.setParent(nullptr);
}

// A click that ends typing and places a counter makes one undo group of both steps.
TEST_F(CanvasTest, AMouseDownCommitsAndItsStepsUndoTogether) {
    EditorCanvasView& c = make(capture(200, 100));
    c.setCurrentTool(EditorTool::counter);
    click(&c, {150, 20});
    c.setCurrentTool(EditorTool::text);
    click(&c, {20, 50});
    QTest::keyClicks(c.textField(), "Step");
    c.setCurrentTool(EditorTool::counter);
    click(&c, {100, 20});
    ASSERT_EQ(c.annotations().size(), 3u);
    ASSERT_NE(textAt(c, 1), nullptr);
    EXPECT_EQ(textAt(c, 1)->text, QStringLiteral("Step"));
    EXPECT_NE(dynamic_cast<const CounterAnnotation*>(c.annotations()[2].get()), nullptr);

    undo.undo();
    EXPECT_EQ(c.annotations().size(), 1u);
    undo.redo();
    ASSERT_EQ(c.annotations().size(), 3u);
    EXPECT_EQ(textAt(c, 1)->text, QStringLiteral("Step"));
}

TEST_F(CanvasTest, AnotherTextClickCommitsTheFirstAndOpensANewField) {
    EditorCanvasView& c = make(capture(200, 100));
    c.setCurrentTool(EditorTool::text);
    click(&c, {20, 50});
    QTest::keyClicks(c.textField(), "one");
    click(&c, {100, 80});
    ASSERT_NE(c.textField(), nullptr);
    EXPECT_TRUE(c.textField()->text().isEmpty());
    ASSERT_EQ(c.annotations().size(), 1u);
    EXPECT_EQ(textAt(c, 0)->text, QStringLiteral("one"));
    QTest::keyClicks(c.textField(), "two");
    QTest::keyClick(c.textField(), Qt::Key_Return);
    ASSERT_EQ(c.annotations().size(), 2u);
    EXPECT_EQ(textAt(c, 1)->origin, QPointF(100, 20));
}

TEST_F(CanvasTest, FlattenedCommitsOpenTextAndDrawsIt) {
    EditorCanvasView& c = make(capture(200, 100));
    c.setCurrentTool(EditorTool::text);
    click(&c, {20, 80});
    QTest::keyClicks(c.textField(), "WWW");
    const CapturedImage flat = c.flattened();
    EXPECT_EQ(c.textField(), nullptr);
    ASSERT_EQ(c.annotations().size(), 1u);
    EXPECT_NE(flat.image.convertToFormat(QImage::Format_ARGB32_Premultiplied),
              c.image().image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    // A second commit after the field is gone adds nothing.
    c.flattened();
    EXPECT_EQ(c.annotations().size(), 1u);
}

} // namespace
