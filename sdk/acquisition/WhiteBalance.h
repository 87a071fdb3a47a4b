// CWhiteBalance: the two white-balance mechanisms of a colour camera, both
// run on each RGB frame (B, G, R order, 24 or 32 bits, rows bottom-up):
// - the gain loop nudges the sensor's red, green and blue gains by at most
//   one step a frame until the mean colour of a region meets its targets;
// - the white-balance modes apply per-channel gains through three tables in
//   software (0 off, 1 preset, 2 automatic once, 3 automatic continuous,
//   4 user gains) or hand them to the FPGA (5 preset, 6 automatic once,
//   7 automatic continuous, 8 user gains).
// Tables built from gains are written into the colour-correct tables too.
//
// Threads: the steps run on the thread that converts frames and call the
// callbacks there; the setters run on the application's threads. All take
// the object's own lock (recursive: a callback may call the getters), under
// which only the camera's gain and FPGA requests and the colour-correct
// tables' lock are taken.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>

#include "ZDQApi.h"
#include "acquisition/ColourCamera.h"
#include "acquisition/ColourCorrectTables.h"
#include "acquisition/ColourPresets.h"
#include "acquisition/FrameRegion.h"
#include "acquisition/FrameWorkers.h"
#include "acquisition/RgbTablePass.h"

class CWhiteBalance {
  public:
    static constexpr int kDefaultMaxCount = 10;
    static constexpr int kDefaultTarget = 180;
    // Pixels the clamped region keeps each way; smaller frames are skipped.
    static constexpr int32_t kRegionMargin = 4;

    CWhiteBalance(IColourCamera& camera, CColourCorrectTables& tables)
        : m_Camera(camera), m_ColourTables(tables) {}
    CWhiteBalance(const CWhiteBalance&) = delete;
    CWhiteBalance& operator=(const CWhiteBalance&) = delete;

    // The state of a newly opened camera. A colour camera's region is the
    // capture frame; its mode follows the FPGA's colour register when the
    // FPGA's white balance is on (bit 0), else preset 0 of the group.
    void Init(ColourGroup group, bool bMono, uint16_t wColourRegister, int32_t nCaptureWidth,
              int32_t nCaptureHeight);

    // Gain loop.
    void SetRegion(const FrameRegion& region);
    FrameRegion Region() const;
    void ShowRegion(bool bShow);
    bool RegionShown() const;
    void SetGainLoopCallback(AWBCallback pfCallback, void* pContext);
    void StartGainLoop(bool bStart, int nMaxCount, int nRed, int nGreen, int nBlue);
    bool GainLoopRunning() const;
    // The region as the last step clamped it (rows from the bottom), or the
    // region as set when no step has clamped it yet.
    FrameRegion RealRegion() const;

    // Modes: RET_PARAMERROR for a mode outside 0-8; an FPGA write failing
    // with a code other than RET_NOTSUPPORT (in modes 0-4), or any failure in
    // modes 5-8, is returned and the mode stays.
    int SetMode(int nMode);
    int Mode() const;
    void SetAutoThreshold(int nThreshold);
    int AutoThreshold() const;
    // User gains (red, green, blue): mode 4 takes them, mode 8 also writes
    // them to the FPGA; RET_ILLEGALOPERATION in other modes.
    int SetGains(const float fGains[3]);
    void Gains(float fGains[3]) const;
    void SetAutoCallback(WhiteBalanceAutoCallback pfCallback, void* pContext);
    void SetAutoCallbackEx(WhiteBalanceAutoCallbackEx pfCallback, void* pContext);
    // The preset number, stored as given: mode 1 takes its gains (a number
    // without data keeps the gains), mode 5 writes it to the FPGA.
    int SetPreset(int nPreset);
    int Preset() const;

    // The frame steps: the gain loop and the white-balance mode.
    void GainLoopStep(const uint8_t* pRgb, int nWidth, int nHeight, int nBitCount);
    void WhiteBalanceStep(uint8_t* pRgb, int nWidth, int nHeight, int nBitCount,
                          CFrameWorkers* pWorkers = nullptr);
    // The white-balance mode's step up to its look-up (table rebuilds,
    // searches on the frame, FPGA gain reads, callbacks): true with the
    // tables when the frame is to pass them, which the caller then does.
    bool TablesStep(const uint8_t* pRgb, int nWidth, int nHeight, int nBitCount, RgbTables& tables);
    // The colour-correct tables' mode 4: the automatic search fills them and
    // the white-balance callback is called.
    void ColourCorrectSearch(const uint8_t* pRgb, int nWidth, int nHeight, int nBitCount);

    // Grey-world search in YCbCr over the near-white pixels of the region:
    // the gains and tables from it, 1; RET_PARAMERROR (gains kept) when no
    // pixel is near-white or the means give no finite gains, RET_NOTSUPPORT
    // for a bit count other than 24 or 32.
    int MakeTableAuto(const uint8_t* pRgb, int nWidth, int nHeight, int nBitCount);

  private:
    using Table = std::array<uint8_t, 256>;
    void MakeTables();  // from m_fWhiteBalanceMatrix
    void CallAutoCallback();
    bool UpdateRealRegion(int nWidth, int nHeight);
    void ReadFpgaGains();

    IColourCamera& m_Camera;
    CColourCorrectTables& m_ColourTables;
    mutable std::recursive_mutex m_Mutex;
    ColourGroup m_Group = ColourGroup::Other;
    // Gain loop.
    FrameRegion m_rcAWBRegion;
    bool m_bAWBShowRegion = false;
    FrameRegion m_rcAWBRealRegion;
    bool m_bRealRegionSet = false;
    AWBCallback m_pfAWBCallback = nullptr;
    void* m_lpAWBCallbackContext = nullptr;
    int m_nAWBMaxCount = kDefaultMaxCount;
    bool m_bAWBStart = false;
    int m_nAWBTarget[3] = {kDefaultTarget, kDefaultTarget, kDefaultTarget};
    int m_nAWBCounter = 0;
    // Modes.
    int m_nWhiteBalanceMode = 0;
    bool m_bWhiteBalanceUpdate = false;
    Table m_ucWhiteBalanceTable[3] = {};  // blue, green, red
    int m_nWhiteBalanceAutoThreshold = 0;
    float m_fWhiteBalanceMatrix[3] = {1, 1, 1};  // red, green, blue
    WhiteBalanceAutoCallback m_pfWhiteBalanceAutoCallback = nullptr;
    void* m_lpWhiteBalanceAutoCallbackContext = nullptr;
    WhiteBalanceAutoCallbackEx m_pfWhiteBalanceAutoCallbackEx = nullptr;
    void* m_lpWhiteBalanceAutoCallbackExContext = nullptr;
    int m_nWhiteBalancePreset = 0;
};
