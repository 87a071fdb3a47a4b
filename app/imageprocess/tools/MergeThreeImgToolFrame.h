#pragma once

#include <QFrame>

namespace Ui {
class MergeThreeImgToolFrame;
}

// The tool panel for merging red, green and blue source pictures in the
// image-processing page's tool column. It is laid out but does nothing yet:
// none of its controls is connected.
class MergeThreeImgToolFrame : public QFrame {
    Q_OBJECT
  public:
    explicit MergeThreeImgToolFrame(QWidget* parent = nullptr);
    ~MergeThreeImgToolFrame() override;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    Ui::MergeThreeImgToolFrame* ui;
};
