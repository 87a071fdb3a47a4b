#pragma once

#include <QFrame>

namespace Ui {
class MergeTwoImgToolFrame;
}

// The tool panel for merging a marker picture with a sample picture in the
// image-processing page's tool column. It is laid out but does nothing yet:
// none of its controls is connected.
class MergeTwoImgToolFrame : public QFrame {
    Q_OBJECT
  public:
    explicit MergeTwoImgToolFrame(QWidget* parent = nullptr);
    ~MergeTwoImgToolFrame() override;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    Ui::MergeTwoImgToolFrame* ui;
};
