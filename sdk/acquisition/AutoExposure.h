// Software automatic exposure (AE) of one camera. It measures the mean grey
// level of a region of the 8-bit raw frames as they are caught and steps the
// exposure in lines towards a target; it changes nothing but the exposure
// lines. Sensors with an automatic exposure of their own take over where the
// application starts AE.
//
// A run measures one frame, changes the exposure, skips the next two frames
// (the new exposure reaches the sensor) and measures the third. It first
// scales the exposure by target / mean; once the mean has crossed the target
// it steps one line at a time, and gives up when those steps keep reversing.
// A limited run (maximum count >= 0) ends by itself; a continuous run
// (maximum count < 0) goes on. Each measurement ends with a status:
//   0 mean within 10 of the target (limited run; AE stops)
//   1 the maximum count of exposure changes is reached (AE stops)
//   2 the one-line steps keep reversing (limited run; AE stops)
//   3 the wanted exposure lies beyond the bounds and the exposure already
//     sits at the bound (limited run; AE stops)
//   4 the exposure was changed, or the sensor's own AE is in charge
//   5, 6, 7 as 0, 2 and 3 in a continuous run, which goes on
//
// Threads: the hook runs on the thread that catches the frame, with the
// device's raw post lock held, and calls the callbacks there. The setters run
// on the application's threads without a lock: every member is one word read
// whole (a region may be seen half updated by one measurement).
#pragma once

#include <atomic>
#include <cstdint>

#include "ZDQApi.h"
#include "acquisition/FrameRegion.h"

class CLog;

// The camera as AE reaches it. The results are the RET_* codes.
class IAutoExposureCamera {
  public:
    // The exposure in lines now, and setting it (AE does not look at the
    // result: a refused exposure shows as an unchanged one at the next step).
    virtual int AEGetExposureLines() = 0;
    virtual void AESetExposureLines(int nLines) = 0;
    // The exposure now in whole milliseconds.
    virtual int AEGetExposureMs() = 0;
    // The sensor's own automatic exposure: on/off (the getter sets its out to
    // false first), its bounds in lines and its target grey level.
    // RET_NOTSUPPORT for a sensor without one.
    virtual int AECSetEnable(bool bEnable) = 0;
    virtual int AECGetEnable(bool* pbEnable) = 0;
    virtual int AECSetRange(uint16_t wMinLines, uint16_t wMaxLines) = 0;
    virtual int AECGetRange(uint16_t* pMinLines, uint16_t* pMaxLines) = 0;
    virtual int AECSetTarget(int nTarget) = 0;
    // The target and the measuring window of the sensor's own AE, for the
    // sensors whose AE has them; RET_NOTSUPPORT elsewhere.
    virtual int AECGetTarget(int* /*pTarget*/) { return RET_NOTSUPPORT; }
    virtual int AECSetWindow(const FrameRegion& /*window*/) { return RET_NOTSUPPORT; }
    virtual int AECGetWindow(FrameRegion* /*pWindow*/) { return RET_NOTSUPPORT; }
    // The sensor's exposure-time range in ms and the conversions between
    // lines and ms with the line time now in the sensor.
    virtual int AEGetExposureTimeRange(float* pMinMs, float* pMaxMs) = 0;
    virtual float AEExposureLinesToTime(int nLines) = 0;
    virtual int64_t AEExposureTimeToLines(float fMs) = 0;
    // The device log (null while it is off).
    virtual CLog* AELog() = 0;

  protected:
    ~IAutoExposureCamera() = default;
};

class CAutoExposure {
  public:
    // The step statuses (see above).
    enum Status {
        kSuccess = 0,
        kMaxCountReached = 1,
        kWaving = 2,
        kOverRange = 3,
        kChanged = 4,
        kSuccessContinuous = 5,
        kWavingContinuous = 6,
        kOverRangeContinuous = 7,
    };
    // A mean within this many grey levels of the target is in range.
    static constexpr int kTargetTolerance = 10;
    // Exposure changes of a limited run by default.
    static constexpr int kDefaultMaxCount = 10;
    static constexpr int kDefaultTarget = 128;
    // The upper time bound for a sensor that gives no AE bounds of its own
    // and takes exposures as long.
    static constexpr float kDefaultExposureTimeMaxMs = 1000.0f;
    // Pixels the measured region keeps each way.
    static constexpr int32_t kRegionMargin = 3;

    explicit CAutoExposure(IAutoExposureCamera& camera) : m_Camera(camera) {}
    CAutoExposure(const CAutoExposure&) = delete;
    CAutoExposure& operator=(const CAutoExposure&) = delete;

    // The state of a newly opened camera: the sensor's own AE decides the
    // start flag and the maximum count, the region covers the capture frame
    // of nCaptureWidth x nCaptureHeight pixels, the bounds come from the
    // sensor's AE bounds or else run from 1 line to 1000 ms (or the sensor's
    // longest exposure, when shorter).
    void Init(int32_t nCaptureWidth, int32_t nCaptureHeight);

    // The hook for every 8-bit raw frame of nWidth x nHeight pixels (rows of
    // nWidth bytes); bRowsBottomUp when the buffer holds the picture's rows
    // bottom-up. Measures and steps while AE runs, then calls the callbacks.
    void RawData8_Do_3A_AE(const uint8_t* pData, int32_t nWidth, int32_t nHeight,
                           bool bRowsBottomUp);

    // The measured region as set, unchecked, and whether the preview shows
    // it. A sensor whose own AE has a window gets the region too.
    void SetRegion(const FrameRegion& region);
    FrameRegion Region() const { return m_rcAERegion.Load(); }
    // The region as reported: the sensor's own AE window where it has one,
    // else the region as set.
    FrameRegion ReportedRegion() const;
    void ShowRegion(bool bShow) { m_bAEShowRegion = bShow; }
    bool RegionShown() const { return m_bAEShowRegion; }
    // The region as the last measurement clamped it to its frame.
    FrameRegion RealRegion() const { return m_rcAERealRegion.Load(); }

    // Extra weight of saturated pixels in the mean, clamped into [0, 1]
    // (NaN gives 0).
    void SetPeakAveRatio(float fRatio);
    float PeakAveRatio() const { return m_fAEPeakAveRatio; }

    // The exposure-time bounds, narrowed to the sensor's range; also given
    // in lines to the sensor's own AE. Minimum above maximum is kept.
    void SetExposureTimeRange(float fMinMs, float fMaxMs);
    float ExposureTimeMin() const { return m_fAEExposureTimeMin; }
    float ExposureTimeMax() const { return m_fAEExposureTimeMax; }
    uint32_t ExposureLineMin() const { return m_nAEExposureLineMin; }
    uint32_t ExposureLineMax() const { return m_nAEExposureLineMax; }

    // Callbacks after each measurement: AECallback unless the status is 4,
    // then AECallbackEx whatever the status.
    void SetCallback(AECallback pfCallback, void* lpContext);
    void SetCallbackEx(AECallbackEx pfCallback, void* lpContext);

    // The maximum count of exposure changes; -1 (run forever) whatever the
    // argument on a sensor with its own AE.
    void SetMaxCount(int nMaxCount);
    // The wanted mean grey level, also given to the sensor's own AE: 1, or
    // RET_NOTSUPPORT (nothing stored) for a sensor with an AE of its own
    // that did not take it.
    int SetTarget(int nTarget);
    // Start or stop: Start also sets the maximum count (3 x nMaxCount, so a
    // count of n allows 3n changes) and the target; StartEx keeps them. Both
    // start a fresh run and hand the exposure to the sensor's own AE where
    // there is one.
    void Start(bool bStart, int nMaxCount, int nTarget);
    void StartEx(bool bStart);
    bool Started() const { return m_bAEStart; }
    int MaxCount() const { return m_nAEMaxCount; }
    int Target() const { return m_nAETarget; }
    int Counter() const { return m_nAECounter; }

    // Switches the sensor's own AE; it is in charge afterwards when the
    // sensor switched it on. The sensor's result.
    int AECSetEnable(bool bEnable);
    bool OnChipAE() const { return m_bOnChipAE; }

  private:
    // One measurement and step on a frame; the status.
    int DoAEEx(const uint8_t* pData, int32_t nWidth, int32_t nHeight, bool bRowsBottomUp);
    // m_rcAERegion clamped to the frame.
    void UpdateAERealRegion(int32_t nWidth, int32_t nHeight, bool bRowsBottomUp);
    // Mean grey level of m_rcAERealRegion, saturated pixels weighted extra.
    float RegionMean(const uint8_t* pData, int32_t nWidth) const;
    // The direction (+1, -1) of a one-line step towards a ratio of 1, kept in
    // the wave history; 0 when the steps keep reversing.
    int StepDirection(float fRatio);
    // Forgets the shake and wave history and the counter of a run.
    void ResetSteps();
    void StartOrStop(bool bStart);
    bool ContinuousRun() const { return m_nAEMaxCount < 0; }
    void Log(const wchar_t* pszFormat, ...) const;

    IAutoExposureCamera& m_Camera;

    SharedFrameRegion m_rcAERegion;
    std::atomic<bool> m_bAEShowRegion{false};
    std::atomic<float> m_fAEPeakAveRatio{0.0f};
    std::atomic<float> m_fAEExposureTimeMin{0.0f};
    std::atomic<float> m_fAEExposureTimeMax{0.0f};
    // The bounds of a step, compared as unsigned line counts.
    std::atomic<uint32_t> m_nAEExposureLineMin{1};
    std::atomic<uint32_t> m_nAEExposureLineMax{1};
    std::atomic<AECallbackEx> m_pfAECallbackEx{nullptr};
    std::atomic<void*> m_lpAECallbackExContext{nullptr};
    std::atomic<int> m_nAEMaxCount{kDefaultMaxCount};
    std::atomic<int> m_nAETarget{kDefaultTarget};
    std::atomic<bool> m_bAEStart{false};
    std::atomic<AECallback> m_pfAECallback{nullptr};
    std::atomic<void*> m_lpAECallbackContext{nullptr};
    // Frames and steps of the run: 3 x (exposure changes) at each measurement.
    std::atomic<int> m_nAECounter{0};
    SharedFrameRegion m_rcAERealRegion;
    // Times the ratio crossed 1; from the first crossing on, one-line steps.
    std::atomic<int> m_nAEExShakeNum{0};
    // Ratio of the previous step, 0 for none.
    std::atomic<float> m_fAEExLastRatio{0.0f};
    // Direction reversals of the one-line steps.
    std::atomic<int> m_nAEExWaveNum{0};
    // Direction of the previous one-line step: +1, -1, 0 for none.
    std::atomic<int> m_nAEExLastDirection{0};
    // One-line steps in a row in the same direction.
    std::atomic<int> m_nAEExSameDirectionNum{0};
    // The sensor's own AE is in charge: AE takes no step.
    std::atomic<bool> m_bOnChipAE{false};
};
