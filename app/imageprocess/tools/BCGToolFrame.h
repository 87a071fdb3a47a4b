#pragma once

#include <QFrame>

namespace Ui {
class BCGToolFrame;
}

// The tool panel for brightness, contrast and gamma in the
// image-processing page's tool column. It is laid out but does nothing yet:
// none of its controls is connected.
class BCGToolFrame : public QFrame {
    Q_OBJECT
  public:
    explicit BCGToolFrame(QWidget* parent = nullptr);
    ~BCGToolFrame() override;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    Ui::BCGToolFrame* ui;
};
