#include "acquisition/CalibrationMap.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "ZDQApi.h"

namespace {

struct FileCloser {
    void operator()(FILE* pFile) const { std::fclose(pFile); }
};

uint32_t GetLe(const uint8_t* p, int nBytes) {
    uint32_t nValue = 0;
    for (int i = nBytes - 1; i >= 0; --i) {
        nValue = nValue << 8 | p[i];
    }
    return nValue;
}

// A coordinate as its 16-bit integer part and fraction, or outside. A value
// within rounding noise of a whole number is that number: an undistorted
// model maps every pixel onto itself, not onto 1023/1024 of its left
// neighbour.
void Split(double dValue, uint32_t nLimit, uint32_t nFractionBits, uint16_t& wWhole,
           uint16_t& wFraction) {
    constexpr double kNoise = 1e-9;
    const double dNearest = std::nearbyint(dValue);
    if (std::fabs(dValue - dNearest) < kNoise) {
        dValue = dNearest;
    }
    if (!(dValue >= 0.0) || !(dValue < static_cast<double>(nLimit))) {
        wWhole = CCalibrationMap::kOutside;
        wFraction = 0;
        return;
    }
    const double dWhole = std::trunc(dValue);
    wWhole = static_cast<uint16_t>(dWhole);
    wFraction = static_cast<uint16_t>((dValue - dWhole) * static_cast<double>(1u << nFractionBits));
}

// A remapped value; fractions a file holds beyond 2^fraction bits would
// leave 0 .. 255.
uint8_t ToByte(int64_t nValue) {
    return static_cast<uint8_t>(std::min<int64_t>(std::max<int64_t>(nValue, 0), 255));
}

}  // namespace

const CCalibrationMap::Header CCalibrationMap::m_NoHeader{};

bool CCalibrationMap::Install(TablePtr pTable, size_t nScratchBytesPerPixel, TablePtr& pTarget,
                              std::vector<uint8_t>& scratch) {
    pTarget.reset();
    std::vector<uint8_t>().swap(scratch);
    if (!pTable) {
        return true;
    }
    const size_t nPixels = pTable->sourceColumn.size();
    try {
        scratch.resize(nPixels * nScratchBytesPerPixel);
    } catch (const std::bad_alloc&) {
        return false;
    }
    pTarget = std::move(pTable);
    return true;
}

bool CCalibrationMap::InstallForRaw(TablePtr pTable) {
    return Install(std::move(pTable), 1, m_pRawTable, m_RawScratch);
}

bool CCalibrationMap::InstallForRgb(TablePtr pTable) {
    // Room for 32-bit pixels.
    return Install(std::move(pTable), 4, m_pRgbTable, m_RgbScratch);
}

void CCalibrationMap::Release() {
    InstallForRaw(nullptr);
    InstallForRgb(nullptr);
}

bool CCalibrationMap::BuildFromModel(const float fModel[kModelValues], uint32_t nWidth,
                                     uint32_t nHeight) {
    const TablePtr pTable = MakeFromModel(fModel, nWidth, nHeight);
    if (!pTable || !InstallForRaw(pTable) || !InstallForRgb(pTable)) {
        Release();
        return false;
    }
    return true;
}

int CCalibrationMap::LoadFile(const char* pszFile) {
    TablePtr pTable;
    const int nRet = ReadFile(pszFile, &pTable);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    if (!InstallForRaw(pTable) || !InstallForRgb(pTable)) {
        Release();
        return RET_MALLOCFAIL;
    }
    return RET_SUCCESS;
}

CCalibrationMap::TablePtr CCalibrationMap::MakeFromModel(const float fModel[kModelValues],
                                                         uint32_t nWidth, uint32_t nHeight) {
    for (int i = 0; i < kModelValues; ++i) {
        if (!std::isfinite(fModel[i])) {
            return nullptr;
        }
    }
    if (nWidth == 0 || nHeight == 0 || nWidth >= kOutside || nHeight >= kOutside) {
        return nullptr;
    }
    double k[3][3];
    for (int i = 0; i < 9; ++i) {
        k[i / 3][i % 3] = fModel[i];
    }
    // The inverse of K: its adjugate over its determinant.
    const double dDet = k[0][0] * (k[1][1] * k[2][2] - k[1][2] * k[2][1]) -
                        k[0][1] * (k[1][0] * k[2][2] - k[1][2] * k[2][0]) +
                        k[0][2] * (k[1][0] * k[2][1] - k[1][1] * k[2][0]);
    if (dDet == 0.0 || !std::isfinite(dDet)) {
        return nullptr;
    }
    double inv[3][3];
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            // Cofactor of element (c, r), the transpose giving the adjugate.
            const int r1 = (c + 1) % 3, r2 = (c + 2) % 3;
            const int c1 = (r + 1) % 3, c2 = (r + 2) % 3;
            inv[r][c] = (k[r1][c1] * k[r2][c2] - k[r1][c2] * k[r2][c1]) / dDet;
        }
    }
    const double fx = k[0][0], cx = k[0][2], fy = k[1][1], cy = k[1][2];
    const double k1 = fModel[9], k2 = fModel[10], p1 = fModel[11], p2 = fModel[12];
    const double k3 = fModel[13];
    const size_t nPixels = static_cast<size_t>(nWidth) * nHeight;
    auto pTable = std::make_shared<Table>();
    try {
        pTable->sourceColumn.resize(nPixels);
        pTable->columnFraction.resize(nPixels);
        pTable->sourceRow.resize(nPixels);
        pTable->rowFraction.resize(nPixels);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    size_t n = 0;
    for (uint32_t i = 0; i < nHeight; ++i) {
        for (uint32_t j = 0; j < nWidth; ++j, ++n) {
            const double X = inv[0][0] * j + inv[0][1] * i + inv[0][2];
            const double Y = inv[1][0] * j + inv[1][1] * i + inv[1][2];
            const double W = inv[2][0] * j + inv[2][1] * i + inv[2][2];
            const double x = X / W, y = Y / W;
            const double r2 = x * x + y * y;
            const double radial = 1 + k1 * r2 + k2 * r2 * r2 + k3 * r2 * r2 * r2;
            const double xd = x * radial + 2 * p1 * x * y + p2 * (r2 + 2 * x * x);
            const double yd = y * radial + p1 * (r2 + 2 * y * y) + 2 * p2 * x * y;
            Split(fx * xd + cx, nWidth, kModelFractionBits, pTable->sourceColumn[n],
                  pTable->columnFraction[n]);
            Split(fy * yd + cy, nHeight, kModelFractionBits, pTable->sourceRow[n],
                  pTable->rowFraction[n]);
        }
    }
    pTable->header = Header{kMagic,
                            kVersion,
                            nWidth,
                            nHeight,
                            kModelFractionBits,
                            static_cast<uint32_t>(nPixels * 2),
                            static_cast<uint32_t>(nPixels * 2)};
    return pTable;
}

int CCalibrationMap::ReadFile(const char* pszFile, TablePtr* pTable) {
    std::unique_ptr<FILE, FileCloser> pFile(std::fopen(pszFile, "rb"));
    if (pFile == nullptr) {
        return RET_FAIL;
    }
    uint8_t raw[kFileHeaderSize];
    if (std::fread(raw, 1, sizeof raw, pFile.get()) != sizeof raw) {
        return RET_FAIL;
    }
    Header header;
    header.wMagic = static_cast<uint16_t>(GetLe(raw, 2));
    header.wVersion = static_cast<uint16_t>(GetLe(raw + 2, 2));
    header.nWidth = GetLe(raw + 4, 4);
    header.nHeight = GetLe(raw + 8, 4);
    header.nFractionBits = GetLe(raw + 12, 4);
    header.nXSize = GetLe(raw + 16, 4);
    header.nYSize = GetLe(raw + 20, 4);
    if (header.wMagic != kMagic || header.wVersion != kVersion ||
        header.nFractionBits > kMaxFractionBits) {
        return RET_VERSIONERROR;
    }
    const uint64_t nPixels = static_cast<uint64_t>(header.nWidth) * header.nHeight;
    if (nPixels == 0 || header.nXSize != nPixels * 2 || header.nYSize != nPixels * 2) {
        return RET_VERSIONERROR;
    }
    if (std::fseek(pFile.get(), 0, SEEK_END) != 0) {
        return RET_FAIL;
    }
    const long nLength = std::ftell(pFile.get());
    if (nLength < 0 || static_cast<uint64_t>(nLength) !=
                           kFileHeaderSize + 2 * (uint64_t{header.nXSize} + header.nYSize)) {
        return RET_VERSIONERROR;
    }
    if (std::fseek(pFile.get(), kFileHeaderSize, SEEK_SET) != 0) {
        return RET_FAIL;
    }
    auto pRead = std::make_shared<Table>();
    std::vector<uint16_t>* const arrays[4] = {&pRead->sourceColumn, &pRead->columnFraction,
                                              &pRead->sourceRow, &pRead->rowFraction};
    try {
        for (std::vector<uint16_t>* pArray : arrays) {
            pArray->resize(static_cast<size_t>(nPixels));
        }
    } catch (const std::bad_alloc&) {
        return RET_MALLOCFAIL;
    }
    for (std::vector<uint16_t>* pArray : arrays) {
        std::vector<uint16_t>& array = *pArray;
        std::vector<uint8_t> bytes(array.size() * 2);
        if (std::fread(bytes.data(), 1, bytes.size(), pFile.get()) != bytes.size()) {
            return RET_FAIL;
        }
        for (size_t k = 0; k < array.size(); ++k) {
            array[k] = static_cast<uint16_t>(bytes[2 * k] | bytes[2 * k + 1] << 8);
        }
    }
    pRead->header = header;
    *pTable = std::move(pRead);
    return RET_SUCCESS;
}

bool CCalibrationMap::Matches(const TablePtr& pTable, int nWidth, int nHeight) {
    return pTable && nWidth > 0 && nHeight > 0 &&
           static_cast<uint32_t>(nWidth) == pTable->header.nWidth &&
           static_cast<uint32_t>(nHeight) == pTable->header.nHeight;
}

void CCalibrationMap::ApplyRaw(uint8_t* pFrame, int nWidth, int nHeight, CFrameWorkers* pWorkers) {
    if (pFrame == nullptr || !Matches(m_pRawTable, nWidth, nHeight)) {
        return;
    }
    const Table& table = *m_pRawTable;
    const size_t nPixels = static_cast<size_t>(nWidth) * nHeight;
    std::memcpy(m_RawScratch.data(), pFrame, nPixels);
    const uint8_t* pSource = m_RawScratch.data();
    const int f = static_cast<int>(table.header.nFractionBits);
    const bool bInterpolate = m_nMode == 1;
    ForSlices(pWorkers, nPixels, [&](size_t nBegin, size_t nEnd) {
        for (size_t k = nBegin; k < nEnd; ++k) {
            const uint32_t sx = table.sourceColumn[k], sy = table.sourceRow[k];
            if (sx >= static_cast<uint32_t>(nWidth) || sy >= static_cast<uint32_t>(nHeight)) {
                pFrame[k] = 0;
                continue;
            }
            const size_t nAt = static_cast<size_t>(sy) * nWidth + sx;
            if (!bInterpolate || sx == static_cast<uint32_t>(nWidth - 1) ||
                sy == static_cast<uint32_t>(nHeight - 1)) {
                pFrame[k] = pSource[nAt];
                continue;
            }
            const int64_t a = pSource[nAt];
            const int64_t c = pSource[nAt + nWidth];
            const int64_t fy = table.rowFraction[k];
            const int64_t nValue =
                ((c - a) * fy * (int64_t{1} << f) + a * (int64_t{1} << (2 * f))) >> (2 * f);
            pFrame[k] = ToByte(nValue);
        }
    });
}

void CCalibrationMap::ApplyRgb(uint8_t* pFrame, int nWidth, int nHeight, int nBitCount,
                               CFrameWorkers* pWorkers) {
    if (pFrame == nullptr || (nBitCount != 24 && nBitCount != 32) ||
        !Matches(m_pRgbTable, nWidth, nHeight)) {
        return;
    }
    const Table& table = *m_pRgbTable;
    const size_t nStep = static_cast<size_t>(nBitCount / 8);
    const size_t nPixels = static_cast<size_t>(nWidth) * nHeight;
    const size_t nRowBytes = static_cast<size_t>(nWidth) * nStep;
    std::memcpy(m_RgbScratch.data(), pFrame, nPixels * nStep);
    const uint8_t* pSource = m_RgbScratch.data();
    const int f = static_cast<int>(table.header.nFractionBits);
    const int64_t nOne = int64_t{1} << f;
    const bool bInterpolate = m_nMode == 1;
    ForSlices(pWorkers, nPixels, [&](size_t nBegin, size_t nEnd) {
        for (size_t k = nBegin; k < nEnd; ++k) {
            uint8_t* pOut = pFrame + k * nStep;
            const uint32_t sx = table.sourceColumn[k], sy = table.sourceRow[k];
            if (nStep == 4) {
                pOut[3] = 0;
            }
            if (sx >= static_cast<uint32_t>(nWidth) || sy >= static_cast<uint32_t>(nHeight)) {
                pOut[0] = pOut[1] = pOut[2] = 0;
                continue;
            }
            const uint8_t* pA = pSource + static_cast<size_t>(sy) * nRowBytes + sx * nStep;
            if (!bInterpolate || sx == static_cast<uint32_t>(nWidth - 1) ||
                sy == static_cast<uint32_t>(nHeight - 1)) {
                pOut[0] = pA[0];
                pOut[1] = pA[1];
                pOut[2] = pA[2];
                continue;
            }
            const int64_t fx = table.columnFraction[k], fy = table.rowFraction[k];
            for (int i = 0; i < 3; ++i) {
                const int64_t a = pA[i], b = pA[nStep + i];
                const int64_t c = pA[nRowBytes + i], d = pA[nRowBytes + nStep + i];
                const int64_t nValue = ((b - a) * fx * nOne + (d + a - b - c) * fy * fx +
                                        (c - a) * fy * nOne + a * nOne * nOne) >>
                                       (2 * f);
                pOut[i] = ToByte(nValue);
            }
        }
    });
}
