// The camera's look-up tables and sensitivity: the 8-bit LUT and the 16-bit
// gamma LUT downloaded into the FPGA in chunks (from memory or from LUT
// files), their switches (register 0 bit 11, register 33 bit 0) and the
// sensitivity mode (register 0 bits 5-7).
#include <algorithm>
#include <cstring>

#include "ZDQApi.h"
#include "acquisition/LutFile.h"
#include "device/Device.h"

namespace {
constexpr uint32_t kLutChunkBytes = 64;
constexpr uint32_t kGammaChunkEntries = 32;
constexpr uint16_t kGammaLutOn = 0x0001;
constexpr int kSensitivityWhenMissing = 4;

// The table length the sensor's ADC needs: 2 to the power of its resolution.
uint32_t AdcTableLength(const DeviceCapability& capability) {
    const uint64_t nBits = capability.Get(SensorCap::bmResolution);
    return nBits < 32 ? (1u << nBits) : 0;
}

// The table in chunks; the first failing chunk's result.
int SendLut(CVendorRequests& vendor, const uint8_t* pData, uint32_t nBytes) {
    for (uint32_t nOffset = 0; nOffset < nBytes; nOffset += kLutChunkBytes) {
        const uint32_t nChunk = std::min(kLutChunkBytes, nBytes - nOffset);
        const int nRet =
            vendor.VendorCmd_WriteLut(static_cast<uint16_t>(nOffset), pData + nOffset, nChunk);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int SendGammaLut(CVendorRequests& vendor, const uint16_t* pEntries, uint32_t nEntries) {
    for (uint32_t nOffset = 0; nOffset < nEntries; nOffset += kGammaChunkEntries) {
        const uint32_t nChunk = std::min(kGammaChunkEntries, nEntries - nOffset);
        const int nRet = vendor.VendorCmd_WriteGammaLut(static_cast<uint16_t>(nOffset),
                                                        pEntries + nOffset, nChunk);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

}  // namespace

int CDevice::LutDataDownload(const uint8_t* pData, int nLength) {
    if (pData == nullptr) {
        return RET_PARAMERROR;
    }
    if (!m_Capability.Has(FpgaCap::bmLutDownload)) {
        return RET_NOTSUPPORT;
    }
    const uint32_t nTable = AdcTableLength(m_Capability);
    if (nLength <= 0 || static_cast<uint32_t>(nLength) != nTable || nTable > kLutEntries) {
        return RET_PARAMERROR;
    }
    if (!m_Transport.IsOpen()) {
        return RET_DEVICECLOSED;
    }
    // One download at a time: the camera's table and the copy are the same.
    plat::CriticalSectionLock lut(m_LutLock);
    const int nRet = SendLut(m_Vendor, pData, nTable);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    m_bLutDownloaded = 1;
    std::memcpy(m_ucLut.data(), pData, nTable);
    // A reset loses the FPGA's table: the register write-back sends it again.
    m_Fpga.Shadows().bLoadLut = 1;
    return RET_SUCCESS;
}

int CDevice::ReloadLookUpTable(bool bGamma) {
    plat::CriticalSectionLock lut(m_LutLock);
    const uint32_t nTable = AdcTableLength(m_Capability);
    if (bGamma) {
        return m_bGammaLutDownloaded != 0 ? SendGammaLut(m_Vendor, m_usGammaLut.data(), nTable)
                                          : RET_SUCCESS;
    }
    return m_bLutDownloaded != 0 ? SendLut(m_Vendor, m_ucLut.data(), nTable) : RET_SUCCESS;
}

int CDevice::LutWrite(int nOffset, const uint8_t* pData, int nLength) {
    if (!m_Capability.Has(FpgaCap::bmLutDownload)) {
        return RET_NOTSUPPORT;
    }
    if (pData == nullptr || nLength <= 0 || nLength > static_cast<int>(kLutChunkBytes) ||
        nOffset < 0 || nOffset > 0xFFFF) {
        return RET_PARAMERROR;
    }
    if (!m_Transport.IsOpen()) {
        return RET_DEVICECLOSED;
    }
    return m_Vendor.VendorCmd_WriteLut(static_cast<uint16_t>(nOffset), pData,
                                       static_cast<uint32_t>(nLength));
}

int CDevice::GammaLutDataDownload(const uint16_t* pEntries, int nEntries) {
    if (!m_Capability.Has(FpgaCap::bmGammaLutDownload)) {
        return RET_NOTSUPPORT;
    }
    if (pEntries == nullptr) {
        return RET_PARAMERROR;
    }
    const uint32_t nTable = AdcTableLength(m_Capability);
    if (nEntries <= 0 || static_cast<uint32_t>(nEntries) != nTable || nTable > kLutEntries) {
        return RET_PARAMERROR;
    }
    if (!m_Transport.IsOpen()) {
        return RET_DEVICECLOSED;
    }
    plat::CriticalSectionLock lut(m_LutLock);
    const int nRet = SendGammaLut(m_Vendor, pEntries, nTable);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    m_bGammaLutDownloaded = 1;
    std::copy(pEntries, pEntries + nTable, m_usGammaLut.begin());
    m_Fpga.Shadows().bLoadGammaLut = 1;
    return RET_SUCCESS;
}

int CDevice::LutFileDownload(const wchar_t* pszFile) {
    LutFileTable table;
    const int nRet = ReadLutFile(pszFile, 'A', table);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    return LutDataDownload(table.bytes.data(), static_cast<int>(table.nEntries));
}

int CDevice::GammaLutFileDownload(const wchar_t* pszFile) {
    LutFileTable table;
    const int nRet = ReadLutFile(pszFile, 'C', table);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    return GammaLutDataDownload(table.entries.data(), static_cast<int>(table.nEntries));
}

int CDevice::LutSetEnable(bool bOn) {
    if (!m_Capability.Has(FpgaCap::bmLutEnable)) {
        return RET_NOTSUPPORT;
    }
    const uint16_t wMode = m_Fpga.Shadows().WorkingMode;
    return m_Fpga.Fpga_WrRelateReg(
        FPGAREG_WORKING_MODE,
        static_cast<uint16_t>(bOn ? (wMode | WORKINGMODE_LUT_ON) : (wMode & ~WORKINGMODE_LUT_ON)));
}

int CDevice::LutGetEnable(bool* pbOn) const {
    const bool bHas = m_Capability.Has(FpgaCap::bmLutEnable);
    if (pbOn != nullptr) {
        *pbOn = bHas && (m_Fpga.Shadows().WorkingMode & WORKINGMODE_LUT_ON) != 0;
    }
    return bHas ? RET_SUCCESS : RET_NOTSUPPORT;
}

int CDevice::GammaLutSetEnable(bool bOn) {
    if (!m_Capability.Has(FpgaCap::bmGammaLutEnable)) {
        return RET_NOTSUPPORT;
    }
    const uint16_t wModeEx = m_Fpga.Shadows().WorkingModeEx;
    return m_Fpga.Fpga_WrRelateReg(
        FPGAREG_WORKING_MODE_EX,
        static_cast<uint16_t>(bOn ? (wModeEx | kGammaLutOn) : (wModeEx & ~kGammaLutOn)));
}

int CDevice::GammaLutGetEnable(bool* pbOn) const {
    if (pbOn != nullptr) {
        *pbOn = (m_Fpga.Shadows().WorkingModeEx & kGammaLutOn) != 0;
    }
    return RET_SUCCESS;
}

int CDevice::SensitivitySetMode(int nMode) {
    if (!m_Capability.Has(FpgaCap::bmSensitivityMode)) {
        return RET_NOTSUPPORT;
    }
    const uint16_t wMode = m_Fpga.Shadows().WorkingMode;
    return m_Fpga.Fpga_WrRelateReg(
        FPGAREG_WORKING_MODE, static_cast<uint16_t>((wMode & ~WORKINGMODE_SENSITIVITY) |
                                                    ((nMode & 7) << kWorkingModeSensitivityShift)));
}

int CDevice::SensitivityGetMode(int* pMode) const {
    if (!m_Capability.Has(FpgaCap::bmSensitivityMode)) {
        if (pMode != nullptr) {
            *pMode = kSensitivityWhenMissing;
        }
        return RET_NOTSUPPORT;
    }
    if (pMode != nullptr) {
        *pMode = (m_Fpga.Shadows().WorkingMode & WORKINGMODE_SENSITIVITY) >>
                 kWorkingModeSensitivityShift;
    }
    return RET_SUCCESS;
}
