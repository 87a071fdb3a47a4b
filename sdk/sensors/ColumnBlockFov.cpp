#include "sensors/ColumnBlockFov.h"

#include <algorithm>

#include "ZDQApi.h"

namespace {
// One transfer of frames never exceeds this many bytes.
constexpr int64_t kMaxTransferBytes = 16777216;
constexpr int kModeDivisor[5] = {1, 2, 3, 4, 8};
}  // namespace

int CheckColumnBlockFov(const DeviceCapability& capability, const RoiLimits& roi, int& nColStart,
                        int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                        uint16_t* pMultiFrames, bool b16BitData) {
    if (nAmCol != nAmRow || nAmCol < 0 || nAmCol > 4) {
        return RET_PARAMERROR;
    }
    static const CapField* const kSkipBits[5] = {nullptr, &SensorCap::bmSkip2, &SensorCap::bmSkip3,
                                                 &SensorCap::bmSkip4, &SensorCap::bmSkip8};
    if (kSkipBits[nAmCol] != nullptr && !capability.Has(*kSkipBits[nAmCol])) {
        return RET_NOTSUPPORT;
    }
    const auto alignUp = [](int64_t n, int64_t nAlign) {
        return (n + nAlign - 1) / nAlign * nAlign;
    };
    int64_t nCol = alignUp(nColStart, 16);
    int64_t nColumns = alignUp(nWidth, 8);
    int64_t nRow = nRowStart;
    int64_t nRows = nHeight;
    if (!capability.Has(SensorCap::bmMono)) {
        // Whole Bayer cells.
        nRow = alignUp(nRow, 2);
        nRows = alignUp(nRows, 2);
    }
    nColumns = std::clamp<int64_t>(nColumns, roi.nMinWidth, roi.nMaxWidth);
    nRows = std::clamp<int64_t>(nRows, roi.nMinHeight, roi.nMaxHeight);
    nCol = std::clamp<int64_t>(nCol, 0, roi.nMaxWidth - nColumns);
    nRow = std::clamp<int64_t>(nRow, 0, roi.nMaxHeight - nRows);
    nColStart = static_cast<int>(nCol);
    nRowStart = static_cast<int>(nRow);
    nWidth = static_cast<int>(nColumns);
    nHeight = static_cast<int>(nRows);
    if (pMultiFrames != nullptr) {
        const int64_t nFrameBytes = (nColumns / kModeDivisor[nAmCol]) *
                                    (nRows / kModeDivisor[nAmRow]) * (b16BitData ? 2 : 1);
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
