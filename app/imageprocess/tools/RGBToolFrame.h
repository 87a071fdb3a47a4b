#pragma once

#include <QFrame>

namespace Ui {
class RGBToolFrame;
}

// The tool panel for red, green and blue in the
// image-processing page's tool column. It is laid out but does nothing yet:
// none of its controls is connected.
class RGBToolFrame : public QFrame {
    Q_OBJECT
  public:
    explicit RGBToolFrame(QWidget* parent = nullptr);
    ~RGBToolFrame() override;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    Ui::RGBToolFrame* ui;
};
