// The size of the live preview in the space of the gel/UV image frame.
#pragma once

#include <QSize>

// Fits a view of w x h into W x H, in integer arithmetic with truncating
// division: never enlarged, never beyond W x H, the aspect ratio kept.
QSize fitPreview(int W, int H, int w, int h);
