#pragma once

#include <QFrame>

namespace Ui {
class MultFluoreCamSetFrame;
}

// The camera settings of the multi-fluorescence page, shown in its tools frame. None of its
// controls is bound to anything: the page has no camera.
class MultFluoreCamSetFrame : public QFrame {
    Q_OBJECT
  public:
    explicit MultFluoreCamSetFrame(QWidget* parent = nullptr);
    ~MultFluoreCamSetFrame() override;

  protected:
    // Handles the language change only: the form's texts again.
    void changeEvent(QEvent* event) override;

  private:
    Ui::MultFluoreCamSetFrame* ui;
};
