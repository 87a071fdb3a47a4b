#include "sensors/TestCam.h"

#include <algorithm>

#include "ZDQApi.h"
#include "common/OutParam.h"

namespace {
// FPGA read addresses of the frame's width and height.
constexpr uint8_t kWidthAddress = 129;
constexpr uint8_t kHeightAddress = 130;
// One transfer of frames never exceeds this many bytes.
constexpr int64_t kMaxTransferBytes = 16777216;
}  // namespace

CTestCam::CTestCam(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                   SensorState& state)
    : m_Vendor(vendor), m_Capability(capability), m_rpLog(rpLog), m_State(state) {}

int CTestCam::ReadFpga(uint8_t byReadAddress, uint16_t* pValue) const {
    if (m_Capability.Has(FirmwareCap::bmReadFpgaDead)) {
        LogPrint(m_rpLog, LOGLEVEL_ERROR, L"ZDQAPI::--Fpga_RdReg. ( Not Support READ_FPGA! )");
        return RET_NOTSUPPORT;
    }
    const int nRet = m_Vendor.VendorCmd_RdFpga(byReadAddress, pValue);
    if (nRet == RET_DEVICECLOSED) {
        LogPrint(m_rpLog, LOGLEVEL_ERROR, L"ZDQAPI::--Fpga_RdReg Error! ( Device Closed! )");
    }
    return nRet;
}

int CTestCam::Init() {
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, L"ZDQAPI::++TestCam_Init.");
    m_State.roi = RoiLimits{};
    uint16_t wWidth = 0;
    uint16_t wHeight = 0;
    int nRet = ReadFpga(kWidthAddress, &wWidth);
    if (nRet == RET_SUCCESS) {
        nRet = ReadFpga(kHeightAddress, &wHeight);
    }
    if (nRet != RET_SUCCESS) {
        LogPrint(m_rpLog, LOGLEVEL_ERROR,
                 L"ZDQAPI::--TestCam_Init TestCam_Sensor_RdRelatedRegValue Fail!");
        return nRet;
    }
    // The frame the FPGA sends is the only window.
    m_State.roi = RoiLimits{0, 0, wWidth, wHeight, wWidth, wHeight};
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, L"ZDQAPI::--TestCam_Init Success.");
    return RET_SUCCESS;
}

int CTestCam::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                       int nAmRow, uint16_t* pMultiFrames, bool b16BitOutput) const {
    if (nAmCol < 0 || nAmCol > 4 || nAmRow < 0 || nAmRow > 4) {
        return RET_PARAMERROR;
    }
    if (nAmCol != 0 || nAmRow != 0) {
        return RET_NOTSUPPORT;  // nothing skips
    }
    const RoiLimits& roi = m_State.roi;
    nColStart = 0;
    nRowStart = 0;
    nWidth = roi.nMaxWidth;
    nHeight = roi.nMaxHeight;
    if (pMultiFrames != nullptr) {
        const int64_t nFrameBytes = int64_t{nWidth} * nHeight * (b16BitOutput ? 2 : 1);
        const int64_t nFit = nFrameBytes > 0 ? kMaxTransferBytes / nFrameBytes : 65535;
        if (nFit < *pMultiFrames) {
            *pMultiFrames = static_cast<uint16_t>(std::min<int64_t>(nFit, 65535));
        }
        if (*pMultiFrames == 0) {
            *pMultiFrames = 1;
        }
    }
    return RET_SUCCESS;
}

int CTestCam::SetFov(int /*nColStart*/, int /*nRowStart*/, int /*nWidth*/, int /*nHeight*/,
                     int /*nAmCol*/, int /*nAmRow*/, uint8_t* pbChanged) {
    SetOut(pbChanged, 0);
    return RET_SUCCESS;
}

int CTestCam::GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const {
    fov = MakeFieldOfView(0, 0, m_State.roi.nMaxWidth, m_State.roi.nMaxHeight, 0, 0,
                          usMultiFrameNum, b16BitData);
    return RET_SUCCESS;
}
