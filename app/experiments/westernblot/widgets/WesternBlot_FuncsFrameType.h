#pragma once

// The capture panel the western-blot page shows, which is also the capture
// mode of the cooled camera: a single capture or a manual series.
enum WesternBlot_FuncsFrameType { WesternBlot_SingleCapture = 0, WesternBlot_ManualCapture = 1 };
