// The arithmetic of the 3D family: the frame header's watermark and time
// stamp, lost trigger signals, heights mapped to grey, the profile image and
// the measured rates.
#pragma once

#include <cstdint>

// Height of a column without a laser line.
constexpr float kInvalidHeight = -1000.0f;
// Bytes of the frame header the FPGA writes over the start of each frame.
constexpr uint32_t kFrameHeaderBytes = 24;

// The header of a frame of at least kFrameHeaderBytes: the trigger signal
// counter (bytes 6-7 low half, 16-17 high half) and the time stamp in
// microseconds (bytes 8-15), little-endian.
struct FrameStamp {
    uint32_t nWaterMark;
    uint64_t ullTimeStamp;
};
FrameStamp ReadFrameStamp(const uint8_t* pFrame);

// Signals lost between two frames: the counter's step over the divider,
// less the one the frame itself took. A counter that did not move or went
// back counts no loss.
int LostSignals(uint32_t nWaterMark, uint32_t nPrevious, int nDivider);

// A height as grey 0..255 over [fMin, fMax]: 0 at or below fMin, 255 at or
// above fMax, else (z - min) x 255 / (max - min) + 0.5 truncated.
uint8_t HeightToGrey(float fZ, float fMin, float fMax);

// One profile as an image of nWidth columns and 256 rows: each valid column
// (Z not kInvalidHeight) lights its height's row, joined to the row of the
// previous column when that one was valid too; invalid columns stay black.
constexpr int kProfileImageRows = 256;
void DrawProfileImage(uint8_t* pImage, const float* pZ, int nWidth, float fMin, float fMax);

// Profiles and trigger signals per second from the time stamps of the
// frames. The first sample (after a reset) is the baseline; a sample whose
// time, profile index or watermark is below the baseline's, or whose time
// equals it, changes nothing.
class CRateMeter {
  public:
    void Reset() { *this = CRateMeter(); }
    // Updates the two rates from a new sample, then makes it the baseline.
    void Update(uint64_t ullTime, int nProfile, uint32_t nWaterMark, float* pTransmissionRate,
                float* pTriggerRate);

  private:
    bool m_bBaseline = false;
    uint64_t m_ullTime = 0;
    int m_nProfile = 0;
    uint32_t m_nWaterMark = 0;
};
