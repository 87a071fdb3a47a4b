#pragma once

// Numbers of the main window's pages and frames. They travel in signals that
// are connected by their signature text, so signals and slots spell these
// type names exactly.

// The main pages of the body, chosen by the head bar.
enum PageType { HomePage = 0, ReportPage, SystemPage, AuditTrailPage };

// The frames of the home page's stack.
enum FrameID {
    HomeFrameID = 0,
    VarnuFrameID,
    WesternBlotFrameID,
    MultFluoreFrameID,
    ImageProcessFrameID
};

// The sub-pages of the report page's function area.
enum RP_FuncFrameType { RP_ReportManage = 0, RP_ReportPrint };

// The sub-pages of the system page's function area, in menu order.
enum SP_FuncFrameType {
    SP_UserManage = 0,
    SP_SampleType,
    SP_ReportTitle,
    SP_DeviceSetting,
    SP_SystemInfo
};
