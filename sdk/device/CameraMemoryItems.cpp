// The items of the camera's memory with the capability each needs: serial
// byte and description, working and colour modes, the stored LUT and gamma
// LUT, and the FPGA's white-balance gains and colour matrix.
#include <vector>

#include "ZDQApi.h"
#include "common/Saturate.h"
#include "device/CameraMemory.h"

namespace {
constexpr float kFixedOne = 4096.0f;
constexpr int kWhiteBalanceValues = 3;
constexpr int kMatrixValues = 9;
}  // namespace

bool CCameraMemory::IsColourSensor() const {
    return !m_Capability.Has(SensorCap::bmMono);
}

bool CCameraMemory::Offers(MemoryItem item, const CapField* pNeeds) const {
    uint32_t nAddress = 0, nSize = 0;
    return Locate(item, nAddress, nSize) && (pNeeds == nullptr || m_Capability.Has(*pNeeds));
}

uint32_t CCameraMemory::AdcTableLength() const {
    const uint64_t nBits = m_Capability.Get(SensorCap::bmResolution);
    const uint64_t nLength = nBits < 32 ? (uint64_t{1} << nBits) : 0;
    return nLength <= kMaxLutEntries ? static_cast<uint32_t>(nLength) : 0;
}

// ---- Serial byte and description -------------------------------------------

int CCameraMemory::SetSerial(int nSerial) {
    const uint8_t bySerial = static_cast<uint8_t>(nSerial & 0xFF);
    return Write(MemoryItem::SerialByte, 0, &bySerial, 1);
}

int CCameraMemory::GetSerial(uint8_t* pSerial) {
    if (pSerial == nullptr) {
        return RET_PARAMERROR;
    }
    return Read(MemoryItem::SerialByte, 0, pSerial, 1);
}

int CCameraMemory::SerialsDescProgram(const uint8_t* pDescription) {
    if (!Offers(MemoryItem::SerialDescription, &FirmwareCap::bmProgramSerialsDesc)) {
        return RET_NOTSUPPORT;
    }
    if (pDescription == nullptr) {
        return RET_PARAMERROR;
    }
    return Write(MemoryItem::SerialDescription, 0, pDescription, kSerialDescriptionBytes);
}

int CCameraMemory::SerialsDescReadout(uint8_t* pDescription) {
    if (!Offers(MemoryItem::SerialDescription, &FirmwareCap::bmProgramSerialsDesc)) {
        return RET_NOTSUPPORT;
    }
    if (pDescription == nullptr) {
        return RET_PARAMERROR;
    }
    return Read(MemoryItem::SerialDescription, 0, pDescription, kSerialDescriptionBytes);
}

// ---- Working and colour modes ------------------------------------------------

int CCameraMemory::WorkingModeProgram(int nMode) {
    if (!Offers(MemoryItem::WorkingMode, &FirmwareCap::bmProgramWorkingMode)) {
        return RET_NOTSUPPORT;
    }
    return WriteWord(MemoryItem::WorkingMode, static_cast<uint16_t>(nMode & 0xFFFF));
}

int CCameraMemory::WorkingModeReadout(uint16_t* pMode) {
    if (pMode == nullptr) {
        return RET_PARAMERROR;
    }
    if (!Offers(MemoryItem::WorkingMode, &FirmwareCap::bmProgramWorkingMode)) {
        return RET_NOTSUPPORT;
    }
    return ReadWord(MemoryItem::WorkingMode, pMode);
}

int CCameraMemory::ColorModeProgram(int nMode) {
    if (!Offers(MemoryItem::ColourMode, &FirmwareCap::bmProgramColorMode) || !IsColourSensor()) {
        return RET_NOTSUPPORT;
    }
    return WriteWord(MemoryItem::ColourMode, static_cast<uint16_t>(nMode & 0xFFFF));
}

int CCameraMemory::ColorModeReadout(uint16_t* pMode) {
    if (pMode == nullptr) {
        return RET_PARAMERROR;
    }
    if (!Offers(MemoryItem::ColourMode, &FirmwareCap::bmProgramColorMode) || !IsColourSensor()) {
        return RET_NOTSUPPORT;
    }
    return ReadWord(MemoryItem::ColourMode, pMode);
}

int CCameraMemory::WorkingModeExProgram(int nMode) {
    if (!Offers(MemoryItem::WorkingModeEx, &FirmwareCap::bmProgramWorkingModeEx)) {
        return RET_NOTSUPPORT;
    }
    return WriteWord(MemoryItem::WorkingModeEx, static_cast<uint16_t>(nMode & 0xFFFF));
}

int CCameraMemory::WorkingModeExReadout(uint8_t* pMode) {
    if (pMode == nullptr) {
        return RET_PARAMERROR;
    }
    if (!Offers(MemoryItem::WorkingModeEx, &FirmwareCap::bmProgramWorkingModeEx)) {
        return RET_NOTSUPPORT;
    }
    return Read(MemoryItem::WorkingModeEx, 0, pMode, 2);
}

// ---- Stored LUT and gamma LUT --------------------------------------------------

int CCameraMemory::LutInfoProgram(int nLength) {
    if (!Offers(MemoryItem::LutLength, &FirmwareCap::bmProgramLut)) {
        return RET_NOTSUPPORT;
    }
    return WriteWord(MemoryItem::LutLength, static_cast<uint16_t>(nLength & 0xFFFF));
}

int CCameraMemory::LutInfoReadout(uint16_t* pLength) {
    if (pLength == nullptr) {
        return RET_PARAMERROR;
    }
    if (!Offers(MemoryItem::LutLength, &FirmwareCap::bmProgramLut)) {
        return RET_NOTSUPPORT;
    }
    return ReadWord(MemoryItem::LutLength, pLength);
}

int CCameraMemory::GammaLutInfoProgram(int nLength) {
    if (!Offers(MemoryItem::GammaLutLength, &FirmwareCap::bmProgramGammaLut)) {
        return RET_NOTSUPPORT;
    }
    return WriteWord(MemoryItem::GammaLutLength, static_cast<uint16_t>(nLength & 0xFFFF));
}

int CCameraMemory::GammaLutInfoReadout(uint16_t* pLength) {
    if (pLength == nullptr) {
        return RET_PARAMERROR;
    }
    if (!Offers(MemoryItem::GammaLutLength, &FirmwareCap::bmProgramGammaLut)) {
        return RET_NOTSUPPORT;
    }
    return ReadWord(MemoryItem::GammaLutLength, pLength);
}

int CCameraMemory::LutDataWrite(const uint8_t* pData, int nLength) {
    if (!Offers(MemoryItem::LutData, &FirmwareCap::bmProgramLut)) {
        return RET_NOTSUPPORT;
    }
    const uint32_t nTable = AdcTableLength();
    if (pData == nullptr || nTable == 0 || nLength != static_cast<int>(nTable)) {
        return RET_PARAMERROR;
    }
    const int nRet = Write(MemoryItem::LutData, 0, pData, nTable);
    return nRet == RET_SUCCESS ? LutInfoProgram(nLength) : nRet;
}

int CCameraMemory::LutDataReadout(uint8_t* pData, int* pLength) {
    uint16_t wLength = 0;
    const int nRet = LutInfoReadout(&wLength);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    const uint32_t nTable = AdcTableLength();
    if (nTable == 0 || wLength != nTable) {
        return RET_FAIL;
    }
    if (pLength != nullptr) {
        *pLength = static_cast<int>(nTable);
    }
    return pData != nullptr ? Read(MemoryItem::LutData, 0, pData, nTable) : RET_SUCCESS;
}

int CCameraMemory::GammaLutDataWrite(const uint16_t* pEntries, int nEntries) {
    if (!Offers(MemoryItem::GammaLutData, &FirmwareCap::bmProgramGammaLut)) {
        return RET_NOTSUPPORT;
    }
    const uint32_t nTable = AdcTableLength();
    if (pEntries == nullptr || nTable == 0 || nEntries != static_cast<int>(nTable)) {
        return RET_PARAMERROR;
    }
    std::vector<uint8_t> bytes(2 * nTable);
    for (uint32_t i = 0; i < nTable; ++i) {
        bytes[2 * i] = static_cast<uint8_t>(pEntries[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<uint8_t>(pEntries[i] >> 8);
    }
    const int nRet = Write(MemoryItem::GammaLutData, 0, bytes.data(), 2 * nTable);
    return nRet == RET_SUCCESS ? GammaLutInfoProgram(nEntries) : nRet;
}

int CCameraMemory::GammaLutDataReadout(uint16_t* pEntries, int* pEntriesRead) {
    uint16_t wLength = 0;
    const int nRet = GammaLutInfoReadout(&wLength);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    const uint32_t nTable = AdcTableLength();
    if (nTable == 0 || wLength != nTable) {
        return RET_FAIL;
    }
    if (pEntriesRead != nullptr) {
        *pEntriesRead = static_cast<int>(nTable);
    }
    if (pEntries == nullptr) {
        return RET_SUCCESS;
    }
    std::vector<uint8_t> bytes(2 * nTable);
    const int nRead = Read(MemoryItem::GammaLutData, 0, bytes.data(), 2 * nTable);
    if (nRead == RET_SUCCESS) {
        for (uint32_t i = 0; i < nTable; ++i) {
            pEntries[i] = static_cast<uint16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
        }
    }
    return nRead;
}

// ---- FPGA white balance and colour matrix ------------------------------------

int CCameraMemory::WriteFixed(MemoryItem item, const float* pValues, int nCount) {
    if (!Offers(item, &FirmwareCap::bmProgramColorMatrix) || !IsColourSensor()) {
        return RET_NOTSUPPORT;
    }
    if (pValues == nullptr) {
        return RET_PARAMERROR;
    }
    uint8_t bytes[2 * kMatrixValues] = {};
    for (int i = 0; i < nCount; ++i) {
        const int16_t nFixed = SaturatedCast<int16_t>(static_cast<double>(pValues[i]) *
                                                      static_cast<double>(kFixedOne));
        const uint16_t wFixed = static_cast<uint16_t>(nFixed);
        bytes[2 * i] = static_cast<uint8_t>(wFixed & 0xFF);
        bytes[2 * i + 1] = static_cast<uint8_t>(wFixed >> 8);
    }
    return Write(item, 0, bytes, static_cast<uint32_t>(2 * nCount));
}

int CCameraMemory::ReadFixed(MemoryItem item, float* pValues, int nCount) {
    if (!Offers(item, &FirmwareCap::bmProgramColorMatrix) || !IsColourSensor()) {
        return RET_NOTSUPPORT;
    }
    if (pValues == nullptr) {
        return RET_PARAMERROR;
    }
    uint8_t bytes[2 * kMatrixValues] = {};
    const int nRet = Read(item, 0, bytes, static_cast<uint32_t>(2 * nCount));
    if (nRet == RET_SUCCESS) {
        for (int i = 0; i < nCount; ++i) {
            const int16_t nFixed = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
            pValues[i] = static_cast<float>(nFixed) / kFixedOne;
        }
    }
    return nRet;
}

int CCameraMemory::HWBMatrixProgram(const float* pGains) {
    return WriteFixed(MemoryItem::WhiteBalanceGains, pGains, kWhiteBalanceValues);
}

int CCameraMemory::HWBMatrixReadout(float* pGains) {
    return ReadFixed(MemoryItem::WhiteBalanceGains, pGains, kWhiteBalanceValues);
}

int CCameraMemory::HCCMMatrixProgram(const float* pMatrix) {
    return WriteFixed(MemoryItem::ColourMatrix, pMatrix, kMatrixValues);
}

int CCameraMemory::HCCMMatrixReadout(float* pMatrix) {
    return ReadFixed(MemoryItem::ColourMatrix, pMatrix, kMatrixValues);
}
