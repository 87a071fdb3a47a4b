#pragma once

// The capture panel the western-blot page shows, and the kind of capture
// the cooled camera's capture thread takes (TucsenCamCtrl::curFuncFrameType).
enum WesternBlot_FuncsFrameType { WesternBlot_SingleCapture = 0, WesternBlot_ManualCapture = 1 };
