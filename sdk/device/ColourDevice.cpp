// The device's side of the colour path: the model group of the presets, the
// colour state of an opened camera, the FPGA's white balance and matrix as
// the colour steps reach them, and the colour steps of both chains.
#include <algorithm>
#include <mutex>

#include "ZDQApi.h"
#include "capability/DeviceType.h"
#include "device/Device.h"
#include "platform/WideText.h"

namespace {

bool IsOneOf(int nType, std::initializer_list<int> types) {
    for (int n : types) {
        if (n == nType) {
            return true;
        }
    }
    return false;
}
}  // namespace

ColourGroup CDevice::ColourPresetGroup() const {
    const int t = m_nDeviceType;
    const SensorUnit unit = SensorUnitOf(t);
    // In this order: a type of two groups takes the first.
    if (IsOneOf(t, {58, 59, 64, 65, 81, 82, 83, 84})) {
        return ColourGroup::EV76C560;
    }
    if (IsOneOf(t, {62, 63, 79, 80})) {
        return ColourGroup::AR0130AndMT9M031;
    }
    if (unit == SensorUnit::Sensor2592Family) {
        return ColourGroup::Family2592;
    }
    if (IsOneOf(t, {88, 89, 121})) {
        return ColourGroup::Sensor3096;
    }
    if (IsOneOf(t, {86, 87, 92, 93, 106, 107})) {
        return ColourGroup::IMX174;
    }
    if (IsOneOf(t, {94, 95, 102, 103, 123})) {
        return ColourGroup::IMX183AndIMX250;
    }
    if (unit == SensorUnit::Sensor30xxFamily) {
        return ColourGroup::Family30xx;
    }
    if (IsOneOf(t, {104, 105})) {
        return ColourGroup::IMX250Late;
    }
    if (IsOneOf(t, {96, 97, 122})) {
        return ColourGroup::IMX226;
    }
    if (IsOneOf(t, {108, 109})) {
        return ColourGroup::ISG4006;
    }
    if (IsOneOf(t, {111, 112})) {
        return ColourGroup::ISG4006A;
    }
    if (IsOneOf(t, {115, 116})) {
        return ColourGroup::IMX290;
    }
    if (IsOneOf(t, {17, 18})) {
        return ColourGroup::AR0130AndMT9M031;
    }
    return ColourGroup::Other;
}

void CDevice::InitColour() {
    const uint16_t wColourRegister = IsMono() ? 0 : m_Fpga.Shadows().ColorMode;
    const FieldOfView& capture = m_Fov[kCaptureFov];
    m_WhiteBalance.Init(ColourPresetGroup(), IsMono(), wColourRegister, capture.nWidth,
                        capture.nHeight);
    m_ColourMatrix.Init(ColourPresetGroup(), wColourRegister);
}

int CDevice::FpgaWhiteBalanceOff() {
    return m_Fpga.Fpga_AwbDisable();
}

int CDevice::FpgaWhiteBalancePreset(int nPreset) {
    return m_Fpga.Fpga_AwbSetPresetting(nPreset);
}

int CDevice::FpgaWhiteBalanceAuto(bool bContinuous) {
    const CapField& need = bContinuous ? FpgaCap::bmAwbAutoContinuous : FpgaCap::bmAwbAutoOnce;
    if (IsMono() || !m_Capability.Has(FpgaCap::bmSetColorMode) || !m_Capability.Has(need)) {
        return RET_NOTSUPPORT;
    }
    const uint16_t wShadow = m_Fpga.Shadows().ColorMode;
    const uint16_t wValue = bContinuous ? static_cast<uint16_t>((wShadow & 0xFFFD) | 5)
                                        : static_cast<uint16_t>((wShadow & 0xFFFB) | 3);
    return m_Fpga.Fpga_WrRelateReg(FPGAREG_COLOR_MODE, wValue);
}

int CDevice::FpgaWhiteBalanceWriteGains(const float fGains[3]) {
    return m_Fpga.Fpga_AwbSetMatrix(fGains[0], fGains[1], fGains[2]);
}

int CDevice::FpgaWhiteBalanceReadGains(float fGains[3]) {
    return m_Fpga.Fpga_AwbGetMatrix(&fGains[0], &fGains[1], &fGains[2]);
}

int CDevice::FpgaMatrixOff() {
    return m_Fpga.Fpga_CcmDisable();
}

int CDevice::FpgaMatrixPreset(int nPreset) {
    return m_Fpga.Fpga_CcmSetPresetting(nPreset);
}

int CDevice::FpgaMatrixWrite(const float fMatrix[9]) {
    return m_Fpga.Fpga_CcmSetMatrix(fMatrix);
}

int CDevice::FpgaMatrixRead(float fMatrix[9]) {
    return m_Fpga.Fpga_CcmGetMatrix(fMatrix);
}

int CDevice::GetColourGain(int nChannel, int* pGain) {
    return GetParam(ZDQ_RED + nChannel, pGain);
}

int CDevice::SetColourGain(int nChannel, int nGain) {
    return SetParam(ZDQ_RED + nChannel, nGain);
}

int CDevice::HueSaturationSetEnable(bool bOn) {
    plat::CriticalSectionLock bayer(m_BayerLock);
    return m_HueSaturation.SetEnable(bOn);
}

int CDevice::LoadCalibrationMapFile(const wchar_t* pszFile) {
    // The file is read with no lock held; each chain then takes the new map
    // under its own lock, one after the other (the raw post lock is never
    // held while the Bayer lock is taken).
    CCalibrationMap::TablePtr pTable;
    if (pszFile != nullptr) {
        const int nRet = CCalibrationMap::ReadFile(plat::Utf8FromWide(pszFile).c_str(), &pTable);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    bool bInstalled;
    {
        plat::CriticalSectionLock rawPost(m_RawPostLock);
        bInstalled = m_CalibrationMap.InstallForRaw(pTable);
    }
    {
        plat::CriticalSectionLock bayer(m_BayerLock);
        bInstalled = m_CalibrationMap.InstallForRgb(bInstalled ? pTable : nullptr) && bInstalled;
    }
    if (!bInstalled) {
        plat::CriticalSectionLock rawPost(m_RawPostLock);
        m_CalibrationMap.InstallForRaw(nullptr);
        return RET_MALLOCFAIL;
    }
    return RET_SUCCESS;
}

void CDevice::ColourCorrectStatistics(const uint8_t* pFrame, int nWidth, int nHeight) {
    if (!IsMono()) {
        m_ColourCorrectTables.RawStatistics(pFrame, nWidth, nHeight, m_nBayerModeEffective % 4,
                                            m_WhiteBalance.RealRegion());
    }
}

void CDevice::CalibrationMapRaw(uint8_t* pFrame, int nWidth, int nHeight) {
    if (m_nOutputMode == kOutputRaw && m_CalibrationMap.AppliesTo(m_nActiveFov == kPreviewFov)) {
        m_CalibrationMap.ApplyRaw(pFrame, nWidth, nHeight, &m_FrameWorkers);
    }
}

// The colour post chain of a demosaiced frame, with the Bayer lock held.
int CDevice::RgbPostProcess(uint8_t* pRgb, int nWidth, int nHeight, int nBitCount) {
    m_WhiteBalance.GainLoopStep(pRgb, nWidth, nHeight, nBitCount);
    CFrameWorkers* pWorkers = &m_FrameWorkers;
    const size_t nPixels = static_cast<size_t>(std::max(nWidth, 0)) * std::max(nHeight, 0);
    const size_t nStep = static_cast<size_t>(nBitCount / 8);
    // The white-balance tables, the colour-correct tables and the matrix in
    // one pass: each step's work before its look-up runs first, in order.
    RgbTables tables;
    bool bTables = m_WhiteBalance.TablesStep(pRgb, nWidth, nHeight, nBitCount, tables);
    if (m_ColourCorrectTables.TakeRgbRequest()) {
        // The search of table mode 4 reads the balanced frame.
        if (bTables) {
            ApplyTablesAndMatrix(pRgb, nPixels, nStep, &tables, nullptr, pWorkers);
            bTables = false;
        }
        m_WhiteBalance.ColourCorrectSearch(pRgb, nWidth, nHeight, nBitCount);
    }
    bTables = m_ColourCorrectTables.ComposeOnto(tables, bTables);
    float fMatrix[9];
    const bool bMatrix = m_ColourMatrix.SoftwareMatrix(fMatrix);
    if (pRgb != nullptr && (nBitCount == 24 || nBitCount == 32)) {
        ApplyTablesAndMatrix(pRgb, nPixels, nStep, bTables ? &tables : nullptr,
                             bMatrix ? fMatrix : nullptr, pWorkers);
    }
    m_ProcessSaturation.Apply(pRgb, nWidth, nHeight, nBitCount, pWorkers);
    m_HueSaturation.Apply(pRgb, nWidth, nHeight, nBitCount, pWorkers);
    if (m_CalibrationMap.AppliesTo(m_nActiveFov == kPreviewFov)) {
        m_CalibrationMap.ApplyRgb(pRgb, nWidth, nHeight, nBitCount, pWorkers);
    }
    return RET_SUCCESS;
}
