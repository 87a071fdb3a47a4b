#include "acquisition/FlatField.h"

#include <algorithm>

#include "ZDQApi.h"

std::vector<uint8_t> CFlatFieldFrames::Average(const std::vector<uint32_t>& sums, int nFrames) {
    std::vector<uint8_t> average(sums.size());
    const double dFrames = nFrames > 0 ? nFrames : 1;
    for (size_t i = 0; i < sums.size(); ++i) {
        const double dValue = sums[i] / dFrames + 0.5;
        average[i] = dValue >= 255.0 ? uint8_t{255} : static_cast<uint8_t>(dValue);
    }
    return average;
}

void CFlatFieldFrames::SetDark(std::vector<uint8_t> dark) {
    m_Dark = std::move(dark);
}

void CFlatFieldFrames::SetFlat(std::vector<uint8_t> flat) {
    m_Flat = std::move(flat);
}

void CFlatFieldFrames::SetDarkAndGain(std::vector<uint8_t> dark, std::vector<float> gain) {
    m_Dark = std::move(dark);
    m_Gain = std::move(gain);
}

int CFlatFieldFrames::MakeGain() {
    if (m_Dark.empty() || m_Flat.size() != m_Dark.size()) {
        return RET_ILLEGALOPERATION;
    }
    int64_t nSum = 0;
    for (size_t i = 0; i < m_Dark.size(); ++i) {
        nSum += static_cast<int>(m_Flat[i]) - static_cast<int>(m_Dark[i]);
    }
    const double dMean = static_cast<double>(nSum) / static_cast<double>(m_Dark.size());
    std::vector<float> gain(m_Dark.size());
    for (size_t i = 0; i < m_Dark.size(); ++i) {
        gain[i] = m_Flat[i] > m_Dark[i]
                      ? static_cast<float>(dMean / (static_cast<int>(m_Flat[i]) - m_Dark[i]))
                      : 1.0f;
    }
    m_Gain = std::move(gain);
    return RET_SUCCESS;
}

void CFlatFieldFrames::Apply(uint8_t* pData, uint32_t nBytes, CFrameWorkers* pWorkers) const {
    if (pData == nullptr || m_Dark.size() != nBytes || m_Gain.size() != nBytes) {
        return;
    }
    const LaneLevel level = MachineLaneLevel();
    ForSlices(pWorkers, nBytes, [&](size_t nBegin, size_t nEnd) {
        CorrectFlatField(pData, m_Dark.data(), m_Gain.data(), nBegin, nEnd, level);
    });
}

namespace {

// The corrected value of a byte v with its dark byte and gain, limited to
// 0 .. 255 (the byte is its truncation).
template <class F>
[[gnu::always_inline]] inline F FlatFieldValue(F v, F dark, F gain) {
    return ClampToByteRange((v - dark) * gain + 0.5f);
}

// The lanes' loops stop before the last incomplete block and return where
// they stopped.
__attribute__((target("avx2"))) size_t CorrectLanesAvx2(uint8_t* pData, const uint8_t* pDark,
                                                        const float* pGain, size_t nBegin,
                                                        size_t nEnd) {
    size_t i = nBegin;
    for (; i + 8 <= nEnd; i += 8) {
        StoreByteLanes<8>(FlatFieldValue(LoadByteLanes<8>(pData + i), LoadByteLanes<8>(pDark + i),
                                         LoadFloatLanes<8>(pGain + i)),
                          pData + i);
    }
    return i;
}

size_t CorrectLanesSse(uint8_t* pData, const uint8_t* pDark, const float* pGain, size_t nBegin,
                       size_t nEnd) {
    size_t i = nBegin;
    for (; i + 4 <= nEnd; i += 4) {
        StoreByteLanes<4>(FlatFieldValue(LoadByteLanes<4>(pData + i), LoadByteLanes<4>(pDark + i),
                                         LoadFloatLanes<4>(pGain + i)),
                          pData + i);
    }
    return i;
}

}  // namespace

void CorrectFlatField(uint8_t* pData, const uint8_t* pDark, const float* pGain, size_t nBegin,
                      size_t nEnd, LaneLevel level) {
    size_t i = nBegin;
    if (level == LaneLevel::kAvx2) {
        i = CorrectLanesAvx2(pData, pDark, pGain, nBegin, nEnd);
    } else if (level == LaneLevel::kSsse3) {
        i = CorrectLanesSse(pData, pDark, pGain, nBegin, nEnd);
    }
    for (; i < nEnd; ++i) {
        const float x = FlatFieldValue<float>(pData[i], pDark[i], pGain[i]);
        pData[i] = static_cast<uint8_t>(static_cast<int>(x));
    }
}
