// The memory map of the three memory kinds and the transfers: single bytes
// through the byte requests of the kind, blocks in pieces.
#include "device/CameraMemory.h"

#include <algorithm>

#include "ZDQApi.h"

namespace {

constexpr int32_t kNone = -1;
constexpr uint32_t kPieceBytes = 64;
constexpr uint32_t kGammaReadPieceBytes = 128;  // 64 entries a request

// An item's address in kinds 0, 1 and 2 (kNone: no place) and its size.
struct ItemPlace {
    MemoryItem item;
    int32_t nAddress[3];
    uint32_t nSize;
};

constexpr ItemPlace kPlaces[] = {
    {MemoryItem::SerialByte, {8191, 0x3FFFF, 0x3FFF}, 1},
    {MemoryItem::SerialDescription, {kNone, 0x3FFE0, kNone}, 16},
    {MemoryItem::WorkingMode, {8176, 0x3FFF0, 0x3FF0}, 2},
    {MemoryItem::ColourMode, {8178, 0x3FFF2, 0x3FF2}, 2},
    {MemoryItem::WorkingModeEx, {kNone, 0x3FFF4, kNone}, 2},
    {MemoryItem::LutLength, {kNone, 0x2FFF0, 0x28F0}, 2},
    {MemoryItem::LutData, {kNone, 0x30000, 0x2900}, 4096},
    {MemoryItem::GammaLutLength, {kNone, 0x2FFF2, kNone}, 2},
    {MemoryItem::GammaLutData, {kNone, 0x31000, kNone}, 2 * 4096},
    {MemoryItem::WhiteBalanceGains, {kNone, 0x3F000, 0x3A00}, 6},
    {MemoryItem::ColourMatrix, {kNone, 0x3F006, 0x3A06}, 18},
    {MemoryItem::CalibrationHeader, {kNone, 0x3F020, 0x3A20}, 16},
    {MemoryItem::CalibrationData, {kNone, 0x3F040, 0x3A40}, 56},
    {MemoryItem::ParamBlock, {kNone, 0x3F080, 0x3A80}, 200},
    // The laser-profile family's parameter block, at most 512 bytes.
    {MemoryItem::Laser3DBlock, {kNone, 0x3F900, kNone}, 512},
};

}  // namespace

CCameraMemory::CCameraMemory(CVendorRequests& vendor, CUsbTransport& transport,
                             const DeviceCapability& capability)
    : m_Vendor(vendor), m_Transport(transport), m_Capability(capability) {}

int CCameraMemory::Kind() const {
    return static_cast<int>(m_Capability.Get(HardwareCap::bmE2PRomType));
}

bool CCameraMemory::Locate(MemoryItem item, uint32_t& nAddress, uint32_t& nSize) const {
    const int nKind = Kind();
    if (nKind < 0 || nKind > 2) {
        return false;
    }
    for (const ItemPlace& place : kPlaces) {
        if (place.item == item) {
            if (place.nAddress[nKind] == kNone) {
                return false;
            }
            nAddress = static_cast<uint32_t>(place.nAddress[nKind]);
            nSize = place.nSize;
            return true;
        }
    }
    return false;
}

bool CCameraMemory::IsByteItem(MemoryItem item) const {
    switch (item) {
        case MemoryItem::SerialByte:
        case MemoryItem::LutLength:
        case MemoryItem::GammaLutLength:
        case MemoryItem::WhiteBalanceGains:
        case MemoryItem::ColourMatrix:
            return true;
        case MemoryItem::WorkingMode:
        case MemoryItem::ColourMode:
            return Kind() == 0;  // kind 0 has no block requests
        default:
            return false;
    }
}

int CCameraMemory::ReadByte(uint32_t nAddress, uint8_t* pValue) {
    return Kind() == 1 ? m_Vendor.VendorCmd_RdEEPROMEx(nAddress, pValue)
                       : m_Vendor.VendorCmd_RdEEPROM(static_cast<uint16_t>(nAddress), pValue);
}

int CCameraMemory::WriteByte(uint32_t nAddress, uint8_t byValue) {
    return Kind() == 1 ? m_Vendor.VendorCmd_WrEEPROMEx(nAddress, byValue)
                       : m_Vendor.VendorCmd_WrEEPROM(static_cast<uint16_t>(nAddress), byValue);
}

int CCameraMemory::Reach(MemoryItem item, uint32_t nOffset, const void* pData, uint32_t nLength,
                         uint32_t& nAddress) const {
    uint32_t nSize = 0;
    if (!Locate(item, nAddress, nSize)) {
        return RET_NOTSUPPORT;
    }
    if (pData == nullptr || nOffset > nSize || nLength > nSize - nOffset) {
        return RET_PARAMERROR;
    }
    if (!m_Transport.IsOpen()) {
        return RET_DEVICECLOSED;
    }
    nAddress += nOffset;
    return RET_SUCCESS;
}

int CCameraMemory::Read(MemoryItem item, uint32_t nOffset, uint8_t* pData, uint32_t nLength) {
    uint32_t nAddress = 0;
    const int nReach = Reach(item, nOffset, pData, nLength, nAddress);
    if (nReach != RET_SUCCESS) {
        return nReach;
    }
    if (IsByteItem(item)) {
        for (uint32_t i = 0; i < nLength; ++i) {
            const int nRet = ReadByte(nAddress + i, pData + i);
            if (nRet != RET_SUCCESS) {
                return nRet;
            }
        }
        return RET_SUCCESS;
    }
    const uint32_t nPiece = item == MemoryItem::GammaLutData ? kGammaReadPieceBytes : kPieceBytes;
    for (uint32_t nDone = 0; nDone < nLength; nDone += nPiece) {
        const uint32_t nCount = std::min(nPiece, nLength - nDone);
        const int nRet = m_Vendor.VendorCmd_RdEEPROMExEx(nAddress + nDone, nCount, pData + nDone);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int CCameraMemory::Write(MemoryItem item, uint32_t nOffset, const uint8_t* pData,
                         uint32_t nLength) {
    uint32_t nAddress = 0;
    const int nReach = Reach(item, nOffset, pData, nLength, nAddress);
    if (nReach != RET_SUCCESS) {
        return nReach;
    }
    if (IsByteItem(item)) {
        for (uint32_t i = 0; i < nLength; ++i) {
            const int nRet = WriteByte(nAddress + i, pData[i]);
            if (nRet != RET_SUCCESS) {
                return nRet;
            }
        }
        return RET_SUCCESS;
    }
    // Pieces of 64 bytes (32 gamma entries); the block request splits a
    // piece that would cross a 256-byte page.
    for (uint32_t nDone = 0; nDone < nLength; nDone += kPieceBytes) {
        const uint32_t nCount = std::min(kPieceBytes, nLength - nDone);
        const int nRet = m_Vendor.VendorCmd_WrEEPROMExEx(nAddress + nDone, pData + nDone, nCount);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int CCameraMemory::ReadWord(MemoryItem item, uint16_t* pValue) {
    uint8_t bytes[2] = {};
    const int nRet = Read(item, 0, bytes, 2);
    if (nRet == RET_SUCCESS) {
        *pValue = static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
    }
    return nRet;
}

int CCameraMemory::WriteWord(MemoryItem item, uint16_t wValue) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(wValue & 0xFF),
                              static_cast<uint8_t>(wValue >> 8)};
    return Write(item, 0, bytes, 2);
}
