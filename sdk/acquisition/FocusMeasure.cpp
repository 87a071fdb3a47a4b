#include "acquisition/FocusMeasure.h"

#include <cstdlib>

namespace {

// Sum of the differences of a pixel to its four neighbours at most: 4 x 255.
constexpr double kMaxPixelContrast = 1020.0;

// The differences of the pixel at p to its same-colour neighbours two pixels
// away, nStride bytes per row: 0 .. 1020.
inline int PixelContrast(const uint8_t* p, size_t nStride) {
    const int c = p[0];
    return std::abs(c - p[-2]) + std::abs(c - p[2]) + std::abs(c - p[-2 * nStride]) +
           std::abs(c - p[2 * nStride]);
}

}  // namespace

void CFocusMeasure::Init(int32_t nCaptureWidth, int32_t nCaptureHeight) {
    m_rcAFRegion.Store(FrameRegion{0, 0, nCaptureWidth, nCaptureHeight});
    m_bAFShowRegion = false;
    m_rcAFRealRegion.Store(FrameRegion{});
    m_pfAFCallback = nullptr;
    m_lpAFCallbackContext = nullptr;
    m_bAFStart = false;
}

void CFocusMeasure::RawData8_Do_3A_AF(const uint8_t* pData, int32_t nWidth, int32_t nHeight,
                                      bool bRowsBottomUp) {
    if (!m_bAFStart || pData == nullptr || nWidth < kRegionMargin || nHeight < kRegionMargin) {
        return;
    }
    UpdateAFRealRegion(nWidth, nHeight, bRowsBottomUp);
    const int nValue = FocusValue(pData, nWidth, m_rcAFRealRegion.Load());
    const AFCallback pfCallback = m_pfAFCallback;
    if (pfCallback != nullptr) {
        pfCallback(nValue, m_lpAFCallbackContext);
    }
}

void CFocusMeasure::SetCallback(AFCallback pfCallback, void* lpContext) {
    m_pfAFCallback = pfCallback;
    m_lpAFCallbackContext = lpContext;
}

void CFocusMeasure::UpdateAFRealRegion(int32_t nWidth, int32_t nHeight, bool bRowsBottomUp) {
    m_rcAFRealRegion.Store(
        ClampRegionToFrame(m_rcAFRegion.Load(), nWidth, nHeight, kRegionMargin, bRowsBottomUp));
}

int CFocusMeasure::FocusValue(const uint8_t* pData, int32_t nStride, const FrameRegion& region) {
    if (region.width < kRegionMargin || region.height < kRegionMargin) {
        return 0;  // no pixel has its neighbours inside the region
    }
    const size_t nRowBytes = static_cast<size_t>(nStride);
    // Each pixel's share is added in turn, left to right and row by row, so
    // the sum is the same whatever the loop's grouping.
    double dSum = 0.0;
    const int32_t nLast = region.width - 3;
    for (int32_t j = 2; j <= region.height - 3; ++j) {
        const uint8_t* pRow =
            pData + static_cast<size_t>(region.y + j) * nRowBytes + static_cast<size_t>(region.x);
        int32_t i = 2;
        for (; i + 3 <= nLast; i += 4) {
            const int c0 = PixelContrast(pRow + i, nRowBytes);
            const int c1 = PixelContrast(pRow + i + 1, nRowBytes);
            const int c2 = PixelContrast(pRow + i + 2, nRowBytes);
            const int c3 = PixelContrast(pRow + i + 3, nRowBytes);
            dSum += c0 / kMaxPixelContrast;
            dSum += c1 / kMaxPixelContrast;
            dSum += c2 / kMaxPixelContrast;
            dSum += c3 / kMaxPixelContrast;
        }
        for (; i <= nLast; ++i) {
            dSum += PixelContrast(pRow + i, nRowBytes) / kMaxPixelContrast;
        }
    }
    const double dPixels =
        static_cast<double>(region.width - 4) * static_cast<double>(region.height - 4);
    // The mean share of a pixel (0 .. 1) on a scale of 0 .. 10200, truncated.
    return static_cast<int>(dSum / dPixels * (10.0 * kMaxPixelContrast));
}
