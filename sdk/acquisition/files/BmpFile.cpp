#include "acquisition/files/BmpFile.h"

#include <limits>

#include "ZDQApi.h"
#include "acquisition/files/OutputFile.h"

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kInfoHeaderBytes = 40;
constexpr size_t kPaletteBytes = 256 * 4;
constexpr uint16_t kBitmapType = 0x4D42;  // "BM"
constexpr uint32_t kBiRgb = 0;

void PutWord(unsigned char* p, uint16_t wValue) {
    p[0] = static_cast<unsigned char>(wValue);
    p[1] = static_cast<unsigned char>(wValue >> 8);
}

void PutDword(unsigned char* p, uint32_t nValue) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<unsigned char>(nValue >> (8 * i));
    }
}

}  // namespace

size_t BmpHeaderBlockSize(int nBitCount) {
    switch (nBitCount) {
        case 8:
            return kFileHeaderBytes + kInfoHeaderBytes + kPaletteBytes;
        case 24:
        case 32:
            return kFileHeaderBytes + kInfoHeaderBytes;
        default:
            return 0;
    }
}

uint32_t BmpImageBytes(int nWidth, int nHeight, int nBitCount, BmpRows rows) {
    const size_t nHeaderBytes = BmpHeaderBlockSize(nBitCount);
    if (nWidth < 1 || nHeight < 1 || nHeaderBytes == 0) {
        return 0;
    }
    // In 64 bits: neither product can overflow for int sizes.
    const uint64_t nRowBits = static_cast<uint64_t>(nWidth) * static_cast<uint64_t>(nBitCount);
    const uint64_t nRowBytes = rows == BmpRows::Padded ? (nRowBits + 31) / 32 * 4 : nRowBits / 8;
    const uint64_t nImageBytes = nRowBytes * static_cast<uint64_t>(nHeight);
    if (nImageBytes + nHeaderBytes > std::numeric_limits<uint32_t>::max()) {
        return 0;
    }
    return static_cast<uint32_t>(nImageBytes);
}

void BuildBmpHeaderBlock(int nWidth, int nHeight, int nBitCount, uint32_t nImageBytes,
                         unsigned char* pBlock) {
    const auto nHeaderBytes = static_cast<uint32_t>(BmpHeaderBlockSize(nBitCount));
    unsigned char* pFile = pBlock;
    PutWord(pFile + 0, kBitmapType);
    PutDword(pFile + 2, nHeaderBytes + nImageBytes);
    PutDword(pFile + 6, 0);  // bfReserved1, bfReserved2
    PutDword(pFile + 10, nHeaderBytes);

    unsigned char* pInfo = pBlock + kFileHeaderBytes;
    PutDword(pInfo + 0, kInfoHeaderBytes);
    PutDword(pInfo + 4, static_cast<uint32_t>(nWidth));
    PutDword(pInfo + 8, static_cast<uint32_t>(nHeight));
    PutWord(pInfo + 12, 1);  // planes
    PutWord(pInfo + 14, static_cast<uint16_t>(nBitCount));
    PutDword(pInfo + 16, kBiRgb);
    PutDword(pInfo + 20, nImageBytes);
    // Pixels per metre and colours used / important: 0.
    for (size_t i = 24; i < kInfoHeaderBytes; ++i) {
        pInfo[i] = 0;
    }

    if (nBitCount == 8) {
        unsigned char* pPalette = pInfo + kInfoHeaderBytes;
        for (size_t i = 0; i < kPaletteBytes; ++i) {
            pPalette[i] = static_cast<unsigned char>(i / 4);
        }
    }
}

int WriteBmpFile(const unsigned char* pData, int nWidth, int nHeight, int nBitCount,
                 const std::string& szPath) {
    const uint32_t nImageBytes = BmpImageBytes(nWidth, nHeight, nBitCount, BmpRows::Padded);
    unsigned char headerBlock[kFileHeaderBytes + kInfoHeaderBytes + kPaletteBytes];
    BuildBmpHeaderBlock(nWidth, nHeight, nBitCount, nImageBytes, headerBlock);

    COutputFile file(szPath);
    if (!file.IsOpen()) {
        return RET_FAIL;
    }
    if (!file.Write(headerBlock, BmpHeaderBlockSize(nBitCount)) ||
        !file.Write(pData, nImageBytes) || !file.Close()) {
        return RET_FAIL;
    }
    file.Keep();
    return RET_SUCCESS;
}
