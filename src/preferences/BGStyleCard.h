#pragma once

#include "settings/SettingsEnums.h"

#include <QColor>
#include <QImage>
#include <QVariantAnimation>
#include <QWidget>

// One clickable preview of a window-shot background style: the miniature, its outline (accent
// when selected) and the style's name below.
class BGStyleCard : public QWidget {
    Q_OBJECT
  public:
    explicit BGStyleCard(WindowBGStyle style, QWidget* parent = nullptr);

    WindowBGStyle style() const { return m_style; }
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    QColor solidColor() const { return m_solidColor; }
    void setSolidColor(const QColor& color);

    // Where the preview sits in the card, in widget coordinates.
    QRectF previewRect() const;
    QSize sizeHint() const override;

  signals:
    void clicked(WindowBGStyle style);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    const QImage& preview();
    void paintOutline(QPainter& p, const QRectF& preview);

    WindowBGStyle m_style;
    bool m_selected = false;
    bool m_pressed = false;
    QColor m_solidColor = Qt::white;
    QImage m_preview; // drawn once per colour and pixel density
    // 0 = plain outline, 1 = selected outline; eased between the two.
    double m_emphasis = 0;
    QVariantAnimation m_animation;
};
