#pragma once

#include <QFrame>

class CI_MainControl;

namespace Ui {
class ReportPageFrame;
}

// The report page: the report menu beside the report function area.
class ReportPageFrame : public QFrame {
    Q_OBJECT
  public:
    explicit ReportPageFrame(QWidget* parent = nullptr);
    ~ReportPageFrame() override;

  signals:
    // The page was chosen from the head bar.
    void updateButton();

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void loadStyleSheet();

    Ui::ReportPageFrame* ui;
    CI_MainControl* m_mainControl;
};
