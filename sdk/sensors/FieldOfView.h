// FieldOfView: the window of the sensor that is read out, its addressing
// modes (skipping) and the frames stacked into one transfer, with the sizes
// of the frame the camera then sends. Every device keeps two of them: one for
// still capture and one for preview.
#pragma once

#include <cstdint>

class CLog;

struct FieldOfView {
    int32_t nColStart;  // first sensor column read
    int32_t nRowStart;  // first sensor row read
    int32_t nColSize;   // sensor columns spanned
    int32_t nRowSize;   // sensor rows spanned
    int32_t AmCol;      // column addressing mode 0-5
    int32_t AmRow;      // row addressing mode 0-5
    int32_t nWidth;     // output width: nColSize / factor(AmCol)
    int32_t nHeight;    // output height: nRowSize / factor(AmRow) x usMultiFrameNum
    uint32_t ulTotalPixels;
    uint32_t ulTotalBytes;  // twice the pixels while 16-bit data is on
    uint16_t usMultiFrameNum;
};

// The two records of a device.
enum FieldOfViewIndex : int { kCaptureFov = 0, kPreviewFov = 1 };

// Output pixels per sensor pixel of an addressing mode: 1, 2, 3, 4, 8, 6 for
// the modes 0-5; 1 for any other mode.
int AddressingModeFactor(int nMode);

// A record with its derived sizes: nWidth, nHeight, ulTotalPixels and
// ulTotalBytes follow from the window, the modes and the multi-frame count.
FieldOfView MakeFieldOfView(int nColStart, int nRowStart, int nColSize, int nRowSize, int nAmCol,
                            int nAmRow, uint16_t usMultiFrameNum, bool b16BitData);

// The record's block in the device log ("Capture Fov" for record 0,
// "Preview Fov" for record 1).
void LogFieldOfView(CLog* pLog, int nWhich, const FieldOfView& fov);
