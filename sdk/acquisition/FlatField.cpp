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

void CFlatFieldFrames::Apply(uint8_t* pData, uint32_t nBytes) const {
    if (pData == nullptr || m_Dark.size() != nBytes || m_Gain.size() != nBytes) {
        return;
    }
    uint8_t* __restrict pOut = pData;
    const uint8_t* __restrict pDark = m_Dark.data();
    const float* __restrict pGain = m_Gain.data();
    // Blocks of a fixed length let the compiler run the block in vector
    // registers; limiting to 0 .. 255 first makes the truncation exact.
    constexpr uint32_t kBlock = 32;
    uint32_t i = 0;
    for (; i + kBlock <= nBytes; i += kBlock) {
        for (uint32_t j = i; j < i + kBlock; ++j) {
            const float x = (static_cast<float>(pOut[j]) - pDark[j]) * pGain[j] + 0.5f;
            pOut[j] = static_cast<uint8_t>(static_cast<int>(std::min(std::max(x, 0.0f), 255.0f)));
        }
    }
    for (; i < nBytes; ++i) {
        const float x = (static_cast<float>(pData[i]) - pDark[i]) * pGain[i] + 0.5f;
        pData[i] = static_cast<uint8_t>(static_cast<int>(std::min(std::max(x, 0.0f), 255.0f)));
    }
}
