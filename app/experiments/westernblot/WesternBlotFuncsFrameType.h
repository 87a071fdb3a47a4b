#pragma once

// The capture panel the western-blot page shows, and the kind of capture
// the cooled camera's capture thread takes (TucsenCamCtrl::curFuncFrameType).
enum WesternBlot_FuncsFrameType { WB_SingleCapture = 0, WB_ManualCapture = 1 };
