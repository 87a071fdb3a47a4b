#pragma once

#include <QFrame>

class CI_MainControl;
class CheckLoginDialog;

namespace Ui {
class ReportTitleFrame;
}

// The report-title page: the main title and the subtitle that head every
// report, with a live preview over a sample report, stored in the user
// options. A save is confirmed and audited only once the file was written.
class ReportTitleFrame : public QFrame {
    Q_OBJECT
  public:
    explicit ReportTitleFrame(QWidget* parent = nullptr);
    ~ReportTitleFrame() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private slots:
    void on_lineEdit_MainTitle_textChanged(const QString& text);
    void on_lineEdit_SubTitle_textChanged(const QString& text);
    void on_pushButton_Save_clicked();

  private:
    void showPreviewPicture();
    void loadStoredTitles();

    Ui::ReportTitleFrame* ui;
    CI_MainControl* mainCtrl;
    CheckLoginDialog* checkLoginDialog;
};
