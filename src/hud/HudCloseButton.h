#pragma once

#include <QAbstractButton>

// The round close button drawn over a HUD window's content: a white disc with the cross cut
// out, on a dark halo so that it reads over light and dark images alike.
class HudCloseButton : public QAbstractButton {
    Q_OBJECT
  public:
    static constexpr int side = 22;

    explicit HudCloseButton(QWidget* parent);
    QSize sizeHint() const override { return QSize(side, side); }

  protected:
    void paintEvent(QPaintEvent* event) override;
};
