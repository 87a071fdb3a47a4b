// Focus measure of one camera: a sharpness value of a region of every 8-bit
// raw frame, from 0 (uniform) to 10200 (the steepest pattern), reported
// through a callback so that the application can drive a focus motor or show
// a bar.
//
// The value compares each pixel with its four same-colour neighbours two
// pixels away (left, right, up, down), so it works on Bayer frames as well as
// on monochrome ones.
//
// Threads: the hook runs on the thread that catches the frame, with the
// device's raw post lock held, and calls the callback there. The setters run
// on the application's threads without a lock.
#pragma once

#include <atomic>
#include <cstdint>

#include "ZDQApi.h"
#include "acquisition/FrameRegion.h"

class CFocusMeasure {
  public:
    // The largest focus value.
    static constexpr int kMaxFocusValue = 10200;
    // Pixels the measured region keeps each way: a pixel and its neighbours
    // two pixels away on both sides.
    static constexpr int32_t kRegionMargin = 5;

    CFocusMeasure() = default;
    CFocusMeasure(const CFocusMeasure&) = delete;
    CFocusMeasure& operator=(const CFocusMeasure&) = delete;

    // The state of a newly opened camera: off, no callback, the region
    // covering the capture frame of nCaptureWidth x nCaptureHeight pixels.
    void Init(int32_t nCaptureWidth, int32_t nCaptureHeight);

    // The hook for every 8-bit raw frame of nWidth x nHeight pixels (rows of
    // nWidth bytes); bRowsBottomUp when the buffer holds the picture's rows
    // bottom-up. While the measure is on, measures the region and calls the
    // callback with the value. A frame smaller than 5 x 5 pixels is not
    // measured.
    void RawData8_Do_3A_AF(const uint8_t* pData, int32_t nWidth, int32_t nHeight,
                           bool bRowsBottomUp);

    // The measured region as set, unchecked, and whether the preview shows it.
    void SetRegion(const FrameRegion& region) { m_rcAFRegion.Store(region); }
    FrameRegion Region() const { return m_rcAFRegion.Load(); }
    void ShowRegion(bool bShow) { m_bAFShowRegion = bShow; }
    bool RegionShown() const { return m_bAFShowRegion; }
    // The region as the last measurement clamped it to its frame.
    FrameRegion RealRegion() const { return m_rcAFRealRegion.Load(); }

    void SetCallback(AFCallback pfCallback, void* lpContext);
    void Start(bool bStart) { m_bAFStart = bStart; }
    bool Started() const { return m_bAFStart; }

    // The focus value of a region lying inside a frame whose rows are nStride
    // bytes apart; 0 for a region smaller than 5 x 5 pixels.
    static int FocusValue(const uint8_t* pData, int32_t nStride, const FrameRegion& region);

  private:
    // m_rcAFRegion clamped to the frame.
    void UpdateAFRealRegion(int32_t nWidth, int32_t nHeight, bool bRowsBottomUp);

    SharedFrameRegion m_rcAFRegion;
    std::atomic<bool> m_bAFShowRegion{false};
    SharedFrameRegion m_rcAFRealRegion;
    std::atomic<AFCallback> m_pfAFCallback{nullptr};
    std::atomic<void*> m_lpAFCallbackContext{nullptr};
    std::atomic<bool> m_bAFStart{false};
};
