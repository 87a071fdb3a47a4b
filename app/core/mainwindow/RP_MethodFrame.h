#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

class CI_MainControl;

namespace Ui {
class RP_MethodFrame;
}

// The report menu: the report-manage toggle (the print and edit buttons are
// kept hidden).
class RP_MethodFrame : public QFrame {
    Q_OBJECT
  public:
    explicit RP_MethodFrame(QWidget* parent = nullptr);
    ~RP_MethodFrame() override;

  signals:
    void sig_ChangeFuncFrame(RP_FuncFrameType funcFrameType, bool expand);

  public slots:
    // Unchecks the report-manage button without sending anything.
    void updateButtonHandle();

  private slots:
    // Report management, its tree expanded when the button became checked.
    void on_pushButton_ReportManage_clicked(bool checked);

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void hideButtons();

    Ui::RP_MethodFrame* ui;
    CI_MainControl* m_mainControl;
};
