// The LUT and gamma LUT kept in the camera's memory: programmed from the
// caller's table or a LUT file and then loaded into the camera, and read
// back when the camera opens; with them the stored working mode the opening
// applies.
#include <algorithm>
#include <vector>

#include "ZDQApi.h"
#include "acquisition/LutFile.h"
#include "device/Device.h"

namespace {
constexpr uint16_t kWorkingModeAppliesAtOpen = 0x0100;
constexpr uint16_t kKeep8BitData = 0xFFEF;
constexpr uint16_t kClearSensitivity = 0xFF1F;

// A LUT file for the camera's memory: its table of type cType must have as
// many entries as the sensor's ADC needs. A gamma LUT file of another type is
// a parameter error.
int ReadLutFileForMemory(const wchar_t* pszFile, char cType, uint32_t nAdcTable,
                         LutFileTable& table) {
    const int nRet = ReadLutFile(pszFile, cType, table);
    if (nRet == RET_ILLEGALOPERATION && cType == 'C') {
        return RET_PARAMERROR;
    }
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    return table.nEntries == nAdcTable ? RET_SUCCESS : RET_ILLEGALOPERATION;
}
}  // namespace

int CDevice::LutDataProgram(const uint8_t* pData, int nLength) {
    const int nRet = m_Memory.LutDataWrite(pData, nLength);
    return nRet == RET_SUCCESS ? LutDataDownload(pData, nLength) : nRet;
}

int CDevice::GammaLutDataProgram(const uint16_t* pEntries, int nEntries) {
    const int nRet = m_Memory.GammaLutDataWrite(pEntries, nEntries);
    return nRet == RET_SUCCESS ? GammaLutDataDownload(pEntries, nEntries) : nRet;
}

int CDevice::LutFileProgram(const wchar_t* pszFile) {
    LutFileTable table;
    const int nRet = ReadLutFileForMemory(pszFile, 'A', m_Memory.AdcTableLength(), table);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    return LutDataProgram(table.bytes.data(), static_cast<int>(table.nEntries));
}

int CDevice::GammaLutFileProgram(const wchar_t* pszFile) {
    LutFileTable table;
    const int nRet = ReadLutFileForMemory(pszFile, 'C', m_Memory.AdcTableLength(), table);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    return GammaLutDataProgram(table.entries.data(), static_cast<int>(table.nEntries));
}

void CDevice::LoadLookUpTablesFromCamera() {
    for (uint32_t i = 0; i < kLutEntries; ++i) {
        m_ucLut[i] = static_cast<uint8_t>(i >> 4);
        m_usGammaLut[i] = static_cast<uint16_t>(i);
    }
    // Each table is taken only when the whole of it was read.
    if (m_Capability.Has(FirmwareCap::bmProgramLut)) {
        std::vector<uint8_t> lut(kLutEntries);
        int nLength = 0;
        if (m_Memory.LutDataReadout(lut.data(), &nLength) == RET_SUCCESS) {
            std::copy_n(lut.begin(), nLength, m_ucLut.begin());
        }
    }
    if (m_Capability.Has(FirmwareCap::bmProgramGammaLut)) {
        std::vector<uint16_t> gamma(kLutEntries);
        int nEntries = 0;
        if (m_Memory.GammaLutDataReadout(gamma.data(), &nEntries) == RET_SUCCESS) {
            std::copy_n(gamma.begin(), nEntries, m_usGammaLut.begin());
        }
    }
}

void CDevice::ApplyStoredWorkingMode() {
    uint16_t wStored = 0;
    if (m_Memory.WorkingModeReadout(&wStored) != RET_SUCCESS ||
        (wStored & kWorkingModeAppliesAtOpen) == 0) {
        return;
    }
    if (m_Capability.Has(FpgaCap::bm16BitsTransfer)) {
        m_Fpga.Fpga_WrRelateReg(
            FPGAREG_WORKING_MODE,
            static_cast<uint16_t>(m_Fpga.Shadows().WorkingMode & kKeep8BitData));
    }
    if (m_Capability.Has(FpgaCap::bmSensitivityMode)) {
        m_Fpga.Fpga_WrRelateReg(
            FPGAREG_WORKING_MODE,
            static_cast<uint16_t>(m_Fpga.Shadows().WorkingMode & kClearSensitivity));
    }
    TriggerModeSet(0);
}
