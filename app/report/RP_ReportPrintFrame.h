#pragma once

#include <QFrame>

namespace Ui {
class RP_ReportPrintFrame;
}

// The place of the report page's print function: an empty frame.
class RP_ReportPrintFrame : public QFrame {
    Q_OBJECT
  public:
    explicit RP_ReportPrintFrame(QWidget* parent = nullptr);
    ~RP_ReportPrintFrame() override;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    Ui::RP_ReportPrintFrame* ui;
};
