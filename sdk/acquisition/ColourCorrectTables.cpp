#include "acquisition/ColourCorrectTables.h"

#include <algorithm>

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

// Colour class (0 red, 1 green, 2 blue) of the pixel at an even or odd row
// and column, per Bayer phase.
constexpr int kClassOf[4][2][2] = {
    // [phase][row odd][column odd]
    {{2, 1}, {1, 0}},  // red at odd row, odd column; blue at even, even
    {{1, 0}, {2, 1}},  // red at even, odd; blue at odd, even
    {{0, 1}, {1, 2}},  // red at even, even; blue at odd, odd
    {{1, 2}, {0, 1}},  // red at odd, even; blue at even, odd
};

void Identity(CColourCorrectTables::Table& table) {
    for (int i = 0; i < 256; ++i) {
        table[i] = static_cast<uint8_t>(i);
    }
}

// table[i] = cumulative count up to i / count x 255, single precision.
void Equalised(const uint64_t* pHistogram, uint64_t nCount, CColourCorrectTables::Table& table) {
    uint64_t nCumulative = 0;
    for (int i = 0; i < 256; ++i) {
        nCumulative += pHistogram[i];
        const float fValue = static_cast<float>(nCumulative) / static_cast<float>(nCount) * 255.0f;
        table[i] = static_cast<uint8_t>(std::clamp(fValue, 0.0f, 255.0f));
    }
}

}  // namespace

CColourCorrectTables::CColourCorrectTables() {
    for (Table& table : m_Table) {
        Identity(table);
    }
}

void CColourCorrectTables::SetCallback(ColorCorrectCallback pfCallback, void* pContext) {
    Lock lock(m_Mutex);
    m_pfCallback = pfCallback;
    m_pCallbackContext = pContext;
}

void CColourCorrectTables::Set(int nMode, int nRed, int nGreen, int nBlue) {
    Lock lock(m_Mutex);
    m_nMode = nMode;
    m_nTarget[0] = nRed;
    m_nTarget[1] = nGreen;
    m_nTarget[2] = nBlue;
    m_bLoaded = false;
    m_bRequest = true;
}

int CColourCorrectTables::Mode() const {
    Lock lock(m_Mutex);
    return m_nMode;
}

void CColourCorrectTables::Get(int* pMode, int* pRed, int* pGreen, int* pBlue) const {
    Lock lock(m_Mutex);
    *pMode = m_nMode;
    *pRed = m_nTarget[0];
    *pGreen = m_nTarget[1];
    *pBlue = m_nTarget[2];
}

bool CColourCorrectTables::Loaded() const {
    Lock lock(m_Mutex);
    return m_bLoaded;
}

void CColourCorrectTables::SetOffsetTable(int nChannel, int nOffset) {
    m_nOffset[nChannel] = std::clamp(nOffset, -kMaxOffset, kMaxOffset);
    for (int i = 0; i < 256; ++i) {
        m_Table[nChannel][i] = static_cast<uint8_t>(std::clamp(i + m_nOffset[nChannel], 0, 255));
    }
}

void CColourCorrectTables::SetShift(int nChannel, int nOffset) {
    if (nChannel < 0 || nChannel > 2) {
        return;
    }
    Lock lock(m_Mutex);
    SetOffsetTable(nChannel, nOffset);
}

void CColourCorrectTables::SetTables(const Table& red, const Table& green, const Table& blue) {
    Lock lock(m_Mutex);
    m_Table[0] = red;
    m_Table[1] = green;
    m_Table[2] = blue;
}

void CColourCorrectTables::Tables(Table& red, Table& green, Table& blue) const {
    Lock lock(m_Mutex);
    red = m_Table[0];
    green = m_Table[1];
    blue = m_Table[2];
}

void CColourCorrectTables::Offsets(const uint64_t sums[3], const uint64_t counts[3],
                                   int nBayerPhase) {
    int nRed = 0;
    int nBlue = 0;
    if (nBayerPhase == 0 || nBayerPhase == 2) {
        const int64_t nGreenMean = static_cast<int64_t>(sums[1] / counts[1]);
        nRed = static_cast<int>(nGreenMean - static_cast<int64_t>(sums[0] / counts[0]));
        nBlue = static_cast<int>(nGreenMean - static_cast<int64_t>(sums[2] / counts[2]));
    } else {
        float fMean[3];
        for (int c = 0; c < 3; ++c) {
            fMean[c] = static_cast<float>(sums[c]) / static_cast<float>(counts[c]);
        }
        const float fRound = nBayerPhase == 3 ? 0.5f : 0.0f;
        // The means are at most 255, so the differences fit an int.
        nRed = static_cast<int>(fMean[1] - fMean[0] + fRound);
        nBlue = static_cast<int>(fMean[1] - fMean[2] + fRound);
    }
    SetOffsetTable(0, nRed);
    SetOffsetTable(1, 0);
    SetOffsetTable(2, nBlue);
    if (m_pfCallback != nullptr) {
        m_pfCallback(true, m_nOffset[0], 0, m_nOffset[2], m_pCallbackContext);
    }
}

void CColourCorrectTables::RawStatistics(const uint8_t* pFrame, int nWidth, int nHeight,
                                         int nBayerPhase, FrameRegion region) {
    Lock lock(m_Mutex);
    if (!m_bRequest) {
        return;
    }
    if (m_nMode < 1 || m_nMode > 3) {
        if (m_nMode != 4) {
            m_bRequest = false;
        }
        return;
    }
    m_bRequest = false;
    constexpr int kMinSize = 4;
    if (pFrame == nullptr || nWidth < kMinSize || nHeight < kMinSize) {
        return;
    }
    const FrameRegion r = ClampRegionToFrame(region, nWidth, nHeight, kMinSize, false);
    const int(*pClass)[2] = kClassOf[nBayerPhase & 3];
    uint64_t histogram[3][256] = {};
    for (int y = r.y; y < r.y + r.height; ++y) {
        const uint8_t* pRow = pFrame + static_cast<size_t>(y) * nWidth;
        for (int x = r.x; x < r.x + r.width; ++x) {
            ++histogram[pClass[y & 1][x & 1]][pRow[x]];
        }
    }
    uint64_t counts[3] = {};
    uint64_t sums[3] = {};
    for (int c = 0; c < 3; ++c) {
        for (int v = 0; v < 256; ++v) {
            counts[c] += histogram[c][v];
            sums[c] += histogram[c][v] * static_cast<uint64_t>(v);
        }
    }
    if (m_nMode == 3) {
        uint64_t all[256];
        for (int v = 0; v < 256; ++v) {
            all[v] = histogram[0][v] + histogram[1][v] + histogram[2][v];
        }
        Equalised(all, counts[0] + counts[1] + counts[2], m_Table[0]);
        m_Table[1] = m_Table[2] = m_Table[0];
        return;
    }
    if (counts[0] == 0 || counts[1] == 0 || counts[2] == 0) {
        return;  // a colour without pixels: no statistics
    }
    if (m_nMode == 1) {
        Offsets(sums, counts, nBayerPhase);
    } else {
        for (int c = 0; c < 3; ++c) {
            Equalised(histogram[c], counts[c], m_Table[c]);
        }
    }
}

bool CColourCorrectTables::TakeRgbRequest() {
    Lock lock(m_Mutex);
    if (m_nMode != 4 || !m_bRequest) {
        return false;
    }
    m_bRequest = false;
    return true;
}

bool CColourCorrectTables::ComposeOnto(RgbTables& tables, bool bTables) const {
    Lock lock(m_Mutex);
    if (m_nMode < 1 || m_nMode > 4) {
        return bTables;
    }
    for (int v = 0; v < 256; ++v) {
        const int nBlue = bTables ? tables.blue[v] : v;
        const int nGreen = bTables ? tables.green[v] : v;
        const int nRed = bTables ? tables.red[v] : v;
        tables.blue[v] = m_Table[2][nBlue];
        tables.green[v] = m_Table[1][nGreen];
        tables.red[v] = m_Table[0][nRed];
    }
    return true;
}

void CColourCorrectTables::Apply(uint8_t* pRgb, int nWidth, int nHeight, int nBitCount,
                                 CFrameWorkers* pWorkers) const {
    RgbTables tables;
    if (pRgb == nullptr || (nBitCount != 24 && nBitCount != 32) || !ComposeOnto(tables, false)) {
        return;
    }
    const size_t nPixels = static_cast<size_t>(std::max(nWidth, 0)) * std::max(nHeight, 0);
    ApplyTablesAndMatrix(pRgb, nPixels, static_cast<size_t>(nBitCount / 8), &tables, nullptr,
                         pWorkers);
}
