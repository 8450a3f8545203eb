#pragma once

#include "capture/CapturedImage.h"
#include "editor/EditorTool.h"
#include "editor/EditorToolbar.h"
#include "editor/EditorUndoManager.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class EditorCanvasView;
class EditorScrollView;
class QWidget;

// One editor window for a capture: the toolbar above the zoomable canvas, the actions that leave
// the editor with a result (copy, save, pin, recognise text), Escape, and the keyboard commands.
// Every open editor is kept alive by `controllers` until its window closes.
class EditorWindowController : public QObject {
    Q_OBJECT
  public:
    // Opens an editor for the image and brings it to the front.
    static void open(const CapturedImage& image);
    // Every open editor, oldest first.
    static const std::vector<std::unique_ptr<EditorWindowController>>& controllers();

    explicit EditorWindowController(const CapturedImage& image);
    ~EditorWindowController() override;

    QWidget* window() const { return m_window.get(); }
    EditorCanvasView* canvas() const { return m_canvas; }
    EditorScrollView* scrollView() const { return m_scroll; }
    EditorToolbar* toolbar() const { return m_toolbar; }
    EditorUndoManager& undoManager() { return m_undo; }

    void selectTool(EditorTool tool);
    void refreshLabels();
    void setMagnification(double magnification);

    // The actions. Copy, pin and Escape close the window; save and recognition leave it open.
    void copyImage();
    void saveImage();
    // Writes the flattened image to `path` (JPEG for .jpg/.jpeg in any case, else PNG), replacing a
    // file there only once the new one is complete; reports the outcome in a toast.
    bool saveTo(const QString& path);
    void pinImage();
    void runOCR();
    void escPressed();
    void closeWindow();

    // Puts recognised text on the clipboard and says so, or says there was none. Static because
    // the editor may be gone by the time recognition ends.
    static void reportRecognizedText(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildWindow(const CapturedImage& image);
    void placeWindow(const QSizeF& imagePoints);
    void applyInitialZoom();
    void performAction(EditorToolbar::Action action);
    bool handleKey(QKeyEvent* event);
    CapturedImage imageForSave();
    bool writeImage(const CapturedImage& image, const QString& path);
    void windowClosing();

    static std::vector<std::unique_ptr<EditorWindowController>>& registry();

    EditorUndoManager m_undo; // outlives the canvas, which refers to it
    std::unique_ptr<QWidget> m_window;
    EditorCanvasView* m_canvas = nullptr;
    EditorScrollView* m_scroll = nullptr;
    EditorToolbar* m_toolbar = nullptr;
    bool m_closing = false;
};
