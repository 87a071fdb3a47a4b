#pragma once

#include <QFrame>

namespace Ui {
class MultFluore_BottomBarFrame;
}

// The status bar of the multi-fluorescence page. Process opens image
// processing; Info and Export have no effect on this page.
class MultFluore_BottomBarFrame : public QFrame {
    Q_OBJECT
  public:
    explicit MultFluore_BottomBarFrame(QWidget* parent = nullptr);
    ~MultFluore_BottomBarFrame() override;

  signals:
    void sig_ShowImgProcessFrame();

  protected:
    // Handles the language change only: the form's texts again.
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_Export_clicked();
    void on_pushButton_Info_clicked();
    void on_pushButton_Process_clicked();

  private:
    Ui::MultFluore_BottomBarFrame* ui;
};
