#pragma once

#include "scrolling/ScrollRegion.h"

#include <QWidget>

class QLabel;

// The ring around a region being captured and the progress label beside it. The window is shaped
// to the ring and the label only, so the region itself shows what lies beneath even without a
// compositing manager, and it lets every click and wheel turn through to that window.
class ScrollingBorder : public QWidget {
    Q_OBJECT
  public:
    explicit ScrollingBorder(const scrollregion::BorderLayout& layout);

    // Room for the longest progress text in the label's font, so no reading is ever cut.
    static QSize labelSize();

    void setProgress(const QString& text);
    // The label's text; empty when the screen had no room for the label.
    QString progressText() const;
    const scrollregion::BorderLayout& layout() const { return m_layout; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    scrollregion::BorderLayout m_layout;
    QLabel* m_label = nullptr;
};
