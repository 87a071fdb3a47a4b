#include "acquisition/ProcessTables.h"

#include "acquisition/BytePasses.h"
#include "acquisition/FrameWorkers.h"

#include <algorithm>
#include <cmath>

namespace {
CProcessTables::Table Identity() {
    CProcessTables::Table table;
    for (int i = 0; i < 256; ++i) {
        table[i] = static_cast<uint8_t>(i);
    }
    return table;
}
}  // namespace

CProcessTables::CProcessTables()
    : m_ucContrastTable(Identity()),
      m_ucBrightnessTable(Identity()),
      m_ucGammaTable(Identity()),
      m_Combined(Identity()) {}

CProcessTables::Table CProcessTables::ContrastTable(int nContrast) {
    Table table;
    for (int i = 0; i < 256; ++i) {
        const int v = 128 + ((i - 128) * (nContrast + 128)) / 128;
        table[i] = static_cast<uint8_t>(v < 1 ? 0 : (v > 255 ? 255 : v));
    }
    return table;
}

CProcessTables::Table CProcessTables::BrightnessTable(int nBrightness) {
    Table table;
    for (int i = 0; i < 256; ++i) {
        table[i] = static_cast<uint8_t>(std::min(255, (i * (nBrightness + 128)) / 128));
    }
    return table;
}

CProcessTables::Table CProcessTables::GammaTable(int nGamma) {
    // Exponent 1.9 for -9, 1.0 for 0 and 0.1 for 9, all in single precision.
    const float fExponent = 1.0f - static_cast<float>(nGamma) / 10.0f;
    Table table;
    for (int i = 0; i < 256; ++i) {
        const float fIn = (static_cast<float>(i) + 0.5f) * 0.00390625f;
        const float fOut = std::pow(fIn, fExponent) * 256.0f - 0.5f;
        table[i] = static_cast<uint8_t>(std::clamp(static_cast<int>(fOut), 0, 255));
    }
    return table;
}

int CProcessTables::SetContrast(int nContrast) {
    nContrast = std::clamp(nContrast, kMinContrast, kMaxContrast);
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (nContrast == m_nProcessContrast) {
        return 1;
    }
    m_nProcessContrast = nContrast;
    m_ucContrastTable = ContrastTable(nContrast);
    Rebuild();
    return 1;
}

int CProcessTables::SetBrightness(int nBrightness) {
    nBrightness = std::clamp(nBrightness, kMinBrightness, kMaxBrightness);
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (nBrightness == m_nProcessBrightness) {
        return 1;
    }
    m_nProcessBrightness = nBrightness;
    m_ucBrightnessTable = BrightnessTable(nBrightness);
    Rebuild();
    return 1;
}

int CProcessTables::SetGamma(int nGamma) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (nGamma == m_nProcessGamma) {
        return 1;
    }
    m_nProcessGamma = std::clamp(nGamma, kMinGamma, kMaxGamma);
    m_ucGammaTable = GammaTable(m_nProcessGamma);
    Rebuild();
    return 1;
}

int CProcessTables::Contrast() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_nProcessContrast;
}

int CProcessTables::Brightness() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_nProcessBrightness;
}

int CProcessTables::Gamma() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_nProcessGamma;
}

void CProcessTables::Rebuild() {
    Table combined = Identity();
    for (uint8_t& v : combined) {
        if (m_nProcessGamma != 0) {
            v = m_ucGammaTable[v];
        }
        if (m_nProcessContrast != 0) {
            v = m_ucContrastTable[v];
        }
        if (m_nProcessBrightness != 0) {
            v = m_ucBrightnessTable[v];
        }
    }
    m_Combined = combined;
    m_bIdentity = m_nProcessGamma == 0 && m_nProcessContrast == 0 && m_nProcessBrightness == 0;
}

void CProcessTables::Apply(uint8_t* pData, uint32_t nBytes, CFrameWorkers* pWorkers) const {
    Table table;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (m_bIdentity) {
            return;
        }
        table = m_Combined;
    }
    ForSlices(pWorkers, nBytes, [&](size_t nBegin, size_t nEnd) {
        LookUpBytes(table, pData + nBegin, nEnd - nBegin);
    });
}
