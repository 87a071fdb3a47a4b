#pragma once

#include <QSlider>

// Slider that reports its value only when the handle is released and jumps to a clicked
// position that lies more than an eighth of the range away from the current value.
class MySlider : public QSlider {
  public:
    explicit MySlider(QWidget* parent = nullptr);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
};
