#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

class DeviceSettingFrame;
class ReportTitleFrame;
class SampleTypeFrame;
class SystemInfoFrame;
class UserManageFrame;

namespace Ui {
class SP_FuncFrame;
}

// The function area of the system page: the five administration pages
// stacked in one cell, exactly one of them shown at a time.
class SP_FuncFrame : public QFrame {
    Q_OBJECT
  public:
    explicit SP_FuncFrame(QWidget* parent = nullptr);
    ~SP_FuncFrame() override;

    void hideAll();

  public slots:
    // Shows the page of the given number (0 to 4); any other value is the
    // fatal message "Unknow SP_FuncFrameType.".
    void slot_ChangeFuncFrame(SP_FuncFrameType funcFrameType);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void initFrames();

    Ui::SP_FuncFrame* ui;
    SystemInfoFrame* frame_SystemInfo;
    DeviceSettingFrame* frame_DeviceSetting;
    ReportTitleFrame* frame_ReportTitle;
    SampleTypeFrame* frame_SampleType;
    UserManageFrame* frame_UserManage;
};
