#pragma once

#include <QFrame>

namespace Ui {
class MultFluore_ImageFrame;
}

// The picture area of the multi-fluorescence page. It shows nothing: the page has no camera.
class MultFluore_ImageFrame : public QFrame {
    Q_OBJECT
  public:
    explicit MultFluore_ImageFrame(QWidget* parent = nullptr);
    ~MultFluore_ImageFrame() override;

  protected:
    // Handles the language change only: the form's texts again.
    void changeEvent(QEvent* event) override;

  private:
    Ui::MultFluore_ImageFrame* ui;
};
