// The calibration record in the camera's memory: a 16-byte header ("CM",
// version 1.0, the capture size, the count of 4-byte entries, at most 14)
// and the camera model it holds (K row by row, then k1, k2, p1, p2, k3),
// and the calibration map built from it when the camera opens.
#include <cstring>

#include "ZDQApi.h"
#include "device/Device.h"

namespace {

constexpr uint32_t kHeaderBytes = 16;

void PutLe(uint8_t* p, uint32_t nValue) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<uint8_t>(nValue >> (8 * i));
    }
}

uint32_t GetLe(const uint8_t* p, int nBytes) {
    uint32_t nValue = 0;
    for (int i = nBytes - 1; i >= 0; --i) {
        nValue = nValue << 8 | p[i];
    }
    return nValue;
}

}  // namespace

int CDevice::CalibrationProgram(const void* pData) {
    if (pData == nullptr) {
        return RET_PARAMERROR;
    }
    uint8_t header[kHeaderBytes] = {};
    header[0] = CCalibrationMap::kMagic & 0xFF;
    header[1] = CCalibrationMap::kMagic >> 8;
    header[2] = CCalibrationMap::kVersion & 0xFF;
    header[3] = CCalibrationMap::kVersion >> 8;
    PutLe(header + 4, static_cast<uint32_t>(m_Fov[kCaptureFov].nWidth));
    PutLe(header + 8, static_cast<uint32_t>(m_Fov[kCaptureFov].nHeight));
    PutLe(header + 12, CCalibrationMap::kModelValues);
    int nRet = m_Memory.Write(MemoryItem::CalibrationHeader, 0, header, kHeaderBytes);
    if (nRet == RET_SUCCESS) {
        uint8_t data[CCalibrationMap::kModelValues * 4];
        std::memcpy(data, pData, sizeof data);
        nRet = m_Memory.Write(MemoryItem::CalibrationData, 0, data, sizeof data);
    }
    return nRet;
}

int CDevice::CalibrationReadout(uint8_t* pData, uint32_t* pWidth, uint32_t* pHeight,
                                uint32_t* pCount) {
    if (pData == nullptr) {
        return RET_PARAMERROR;
    }
    uint8_t header[kHeaderBytes] = {};
    int nRet = m_Memory.Read(MemoryItem::CalibrationHeader, 0, header, kHeaderBytes);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    if (GetLe(header, 2) != CCalibrationMap::kMagic ||
        GetLe(header + 2, 2) != CCalibrationMap::kVersion) {
        return RET_VERSIONERROR;
    }
    const uint32_t nCount = GetLe(header + 12, 4);
    if (nCount > CCalibrationMap::kModelValues) {
        return RET_ILLEGALOPERATION;
    }
    uint8_t data[CCalibrationMap::kModelValues * 4] = {};
    nRet = m_Memory.Read(MemoryItem::CalibrationData, 0, data, nCount * 4);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    std::memcpy(pData, data, nCount * 4);
    if (pWidth != nullptr) {
        *pWidth = GetLe(header + 4, 4);
        *pHeight = GetLe(header + 8, 4);
        *pCount = nCount;
    }
    return RET_SUCCESS;
}

void CDevice::InitCalibrationMap() {
    uint8_t data[CCalibrationMap::kModelValues * 4] = {};
    uint32_t nWidth = 0, nHeight = 0, nCount = 0;
    if (CalibrationReadout(data, &nWidth, &nHeight, &nCount) != RET_SUCCESS ||
        nCount != CCalibrationMap::kModelValues) {
        LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::--InitCalibrationMap. ( No calibration! )");
        return;
    }
    float fModel[CCalibrationMap::kModelValues];
    std::memcpy(fModel, data, sizeof fModel);
    m_CalibrationMap.BuildFromModel(fModel, nWidth, nHeight);
}
