// The way of a caught frame to the caller: the raw post chain on the
// sensor's bytes (8-bit or 16-bit data), then a copy (output mode 0) or
// demosaicing and the colour post chain (output mode 1).
#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

#include "ZDQApi.h"
#include "acquisition/BytePasses.h"
#include "acquisition/Demosaic.h"
#include "acquisition/SegmentSplit.h"
#include "device/Device.h"

namespace {

// Swaps row i with row height-1-i through one row of scratch memory.
template <typename Sample>
void FlipRows(Sample* pFrame, int nWidth, int nHeight) {
    std::vector<Sample> row(static_cast<size_t>(nWidth));
    const size_t nRowBytes = static_cast<size_t>(nWidth) * sizeof(Sample);
    for (int i = 0, j = nHeight - 1; i < j; ++i, --j) {
        Sample* pTop = pFrame + static_cast<size_t>(i) * nWidth;
        Sample* pBottom = pFrame + static_cast<size_t>(j) * nWidth;
        std::memcpy(row.data(), pTop, nRowBytes);
        std::memcpy(pTop, pBottom, nRowBytes);
        std::memcpy(pBottom, row.data(), nRowBytes);
    }
}

template <typename Sample>
void MirrorRows(Sample* pFrame, int nWidth, int nHeight) {
    for (int y = 0; y < nHeight; ++y) {
        Sample* pRow = pFrame + static_cast<size_t>(y) * nWidth;
        std::reverse(pRow, pRow + nWidth);
    }
}

// How many bits a 16-bit sample is shifted right to become a byte, for an
// ADC resolution and a sensitivity mode. The most sensitive mode a
// resolution defines also serves the modes above it.
int PackShift(int nResolution, int nSensitivity) {
    if (nResolution == 12) {
        return 4 - std::min(nSensitivity, 4);
    }
    if (nResolution == 10) {
        return 2 - std::min(nSensitivity, 2);
    }
    return 0;
}

}  // namespace

int CDevice::RawPostProcess(uint8_t* pFrame, int nWidth, int nHeight, uint32_t nBytes) {
    if ((m_Fpga.Shadows().WaterMark & 1) != 0) {
        m_Fpga.StoreWaterMarkHead(pFrame, nBytes);
    }
    // Column fixes: the last one or two columns of each row take the values
    // of the nearest columns of the same Bayer colour.
    const int nFixColumns = m_Capability.Has(FirmwareCap::bmFixLast2Col)   ? 2
                            : m_Capability.Has(FirmwareCap::bmFixLast1Col) ? 1
                                                                           : 0;
    if (nFixColumns > 0 && nWidth > nFixColumns + 1) {
        for (int y = 0; y < nHeight; ++y) {
            uint8_t* pEnd = pFrame + static_cast<size_t>(y + 1) * nWidth;
            for (int c = nFixColumns; c > 0; --c) {
                pEnd[-c] = pEnd[-c - 2];
            }
        }
    }
    CorrectBadPixelsInSoftware(pFrame, nWidth, nHeight);
    if (m_bFlip && !m_Capability.Has(SensorCap::bmFlip)) {
        FlipRows(pFrame, nWidth, nHeight);
    }
    if (m_bMirror && !m_Capability.Has(SensorCap::bmMirror)) {
        MirrorRows(pFrame, nWidth, nHeight);
    }
    if (m_bySplitSegment != 0 && AwaibaSegmentCount() > 1) {
        SplitSegmentRows(pFrame, nWidth, nHeight);
    }
    RawData8_Do_3A_AE(pFrame, nWidth, nHeight);
    RawData8_Do_3A_AF(pFrame, nWidth, nHeight);
    ColourCorrectStatistics(pFrame, nWidth, nHeight);
    m_ProcessTables.Apply(pFrame, static_cast<uint32_t>(nWidth) * static_cast<uint32_t>(nHeight),
                          &m_FrameWorkers);
    ApplyFlatField(pFrame, nBytes);
    CalibrationMapRaw(pFrame, nWidth, nHeight);
    return RET_SUCCESS;
}

int CDevice::RawPostProcess16(uint8_t* pFrame, int nWidth, int nHeight, bool bPack) {
    if (pFrame == nullptr) {
        return RET_PARAMERROR;
    }
    uint16_t* pSamples = reinterpret_cast<uint16_t*>(pFrame);
    if (m_bMirror && !m_Capability.Has(SensorCap::bmMirror)) {
        MirrorRows(pSamples, nWidth, nHeight);
    }
    if (m_bFlip && !m_Capability.Has(SensorCap::bmFlip)) {
        FlipRows(pSamples, nWidth, nHeight);
    }
    if (bPack) {
        Pack16To8(pFrame, static_cast<uint32_t>(nWidth) * static_cast<uint32_t>(nHeight));
    }
    return RET_SUCCESS;
}

void CDevice::Pack16To8(uint8_t* pFrame, uint32_t nPixels) const {
    // In place: byte i is written after sample i was read, and byte i never
    // lies beyond sample i.
    const uint16_t wMode = m_Fpga.WorkingMode();
    if ((wMode & WORKINGMODE_LUT_ON) != 0) {
        plat::CriticalSectionLock lut(m_LutLock);
        PackSamplesThroughTable(pFrame, nPixels, m_ucLut.data(), kLutEntries);
        return;
    }
    const int nShift = PackShift(static_cast<int>(m_Capability.Get(SensorCap::bmResolution)),
                                 (wMode & WORKINGMODE_SENSITIVITY) >> kWorkingModeSensitivityShift);
    PackSamplesShifted(pFrame, nPixels, nShift);
}

int CDevice::RawToRgb(const uint8_t* pRaw, int nWidth, int nHeight, int nBitCount, uint8_t* pOut,
                      bool bPreview8) {
    plat::CriticalSectionLock bayer(m_BayerLock);
    if (bPreview8 || !Data16BitsOn()) {
        return RawToRgb8(pRaw, nWidth, nHeight, nBitCount, pOut);
    }
    if (m_nOutputMode != kOutputRaw) {
        return BayerToRgb16(m_nBayerModeEffective, pRaw, nWidth, nHeight, pOut);
    }
    std::memcpy(pOut, pRaw, static_cast<size_t>(nWidth) * static_cast<size_t>(nHeight) * 2);
    return RET_SUCCESS;
}

int CDevice::RawToRgb8(const uint8_t* pRaw, int nWidth, int nHeight, int nBitCount, uint8_t* pOut) {
    if (m_nOutputMode == kOutputRaw) {
        std::memcpy(pOut, pRaw, static_cast<size_t>(nWidth) * static_cast<size_t>(nHeight));
        return RET_SUCCESS;
    }
    const int nRet = BayerToRgb8(m_nBayerModeEffective, m_nFilterMode, pRaw, nWidth, nHeight, pOut);
    RgbPostProcess(pOut, nWidth, nHeight, nBitCount);
    return nRet;
}
