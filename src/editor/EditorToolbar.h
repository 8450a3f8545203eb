#pragma once

#include "editor/EditorTool.h"
#include "editor/EditorWindowGeometry.h"

#include <QColor>
#include <QWidget>

#include <map>

class EditorColorButton;
class QBoxLayout;
class QLabel;
class QSpacerItem;
class QToolButton;

// The editor's top strip: the four actions, the eleven tools, the colour, and the size and zoom
// labels pushed to the right edge. At any width every control stays whole and reachable: the
// strip gives up room and size step by step instead of cutting anything off. It only reports
// clicks; the window decides what they do.
class EditorToolbar : public QWidget {
    Q_OBJECT
  public:
    enum class Action { copy, save, pin, recognizeText };

    static constexpr int barHeight = static_cast<int>(editorgeometry::toolbarHeight);
    static constexpr int buttonWidth = 30;
    static constexpr int minimumButtonWidth = 22;
    static constexpr int titleRoomWidth = 62;

    explicit EditorToolbar(const QColor& initialColor, QWidget* parent = nullptr);

    // Tints the chosen tool's button in the accent colour and the others light grey.
    void showCurrentTool(EditorTool tool);
    void setSizeText(const QString& text);
    void setZoomText(const QString& text);

    QToolButton* actionButton(Action action) const { return m_actions.at(action); }
    QToolButton* toolButton(EditorTool tool) const { return m_tools.at(tool); }
    EditorColorButton* colorButton() const { return m_color; }
    QLabel* sizeLabel() const { return m_sizeLabel; }
    QLabel* zoomLabel() const { return m_zoomLabel; }

    static QColor accentColor();
    static QColor idleTint();

    QSize sizeHint() const override;

  signals:
    void actionTriggered(EditorToolbar::Action action);
    void toolChosen(EditorTool tool);
    void colorChosen(const QColor& color);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QToolButton* makeButton(const QString& symbol, const QString& tooltip);
    void toolTapped();
    void fitToWidth();
    // The row's width with what is set now.
    int rowWidth() const;
    void setButtonWidth(int width);
    // The zoom label under the size label instead of beside it.
    void setReadoutStacked(bool stacked);

    QWidget* m_row = nullptr; // the buttons and labels at their natural widths
    std::map<Action, QToolButton*> m_actions;
    std::map<EditorTool, QToolButton*> m_tools;
    EditorColorButton* m_color = nullptr;
    QLabel* m_sizeLabel = nullptr;
    QLabel* m_zoomLabel = nullptr;
    QSpacerItem* m_titleRoom = nullptr;
    QBoxLayout* m_readout = nullptr;
    QWidget* m_readoutSeparator = nullptr;
    QString m_sizeText;
    int m_naturalWidth = 0; // the row with everything at its natural size
};
