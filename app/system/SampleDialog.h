#pragma once

#include <QDialog>

class CI_MainControl;

namespace Ui {
class SampleDialog;
}

// Adds one sample type: a name of up to 20 ASCII letters or digits that is
// not stored yet, and a free note. Accepted only once the store took it.
class SampleDialog : public QDialog {
    Q_OBJECT
  public:
    explicit SampleDialog(QWidget* parent = nullptr);
    ~SampleDialog() override;

  protected:
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_OK_clicked();
    void on_pushButton_Cancel_clicked();

  private:
    void showWarning(const QString& text);

    Ui::SampleDialog* ui;
    CI_MainControl* mainCtrl;
};
