#pragma once

#include <QFrame>

class CI_MainControl;

namespace Ui {
class SampleTypeFrame;
}

// The sample-type page: the stored sample names with their notes, Add and
// Delete. No password re-check, no right, no audit rows.
class SampleTypeFrame : public QFrame {
    Q_OBJECT
  public:
    explicit SampleTypeFrame(QWidget* parent = nullptr);
    ~SampleTypeFrame() override;

  public slots:
    void refreshTable();

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_Add_clicked();
    void on_pushButton_Delete_clicked();

  private:
    void initTable();

    Ui::SampleTypeFrame* ui;
    CI_MainControl* mainCtrl;
};
