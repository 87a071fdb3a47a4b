#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

class CI_MainControl;
class QPushButton;

namespace Ui {
class SP_MethodFrame;
}

// The menu column of the system page: one checkable button per
// administration function. The chosen entry stays checked and disabled until
// another one is chosen. The sample-type entry is hidden.
class SP_MethodFrame : public QFrame {
    Q_OBJECT
  public:
    explicit SP_MethodFrame(QWidget* parent = nullptr);
    ~SP_MethodFrame() override;

    void uncheckAll();
    void enableAll();

  signals:
    // A menu entry was chosen.
    void sig_ChangeFuncFrame(SP_FuncFrameType funcFrameType);

  protected:
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_UserManage_clicked(bool checked);
    void on_pushButton_SampleType_clicked(bool checked);
    void on_pushButton_DeviceSetting_clicked(bool checked);
    void on_pushButton_SystemInfo_clicked(bool checked);
    void on_pushButton_ReportTitle_clicked(bool checked);

  private:
    void choose(QPushButton* button, SP_FuncFrameType funcFrameType, bool checked);

    Ui::SP_MethodFrame* ui;
    CI_MainControl* mainCtrl;
};
