// Exports of the image file helpers: frames to BMP, JPEG and TIFF files, and
// BMP header blocks for the caller. They need neither ZDQ_Init nor a device.
// Bad arguments are refused before anything is logged or opened.
#include <cstdint>
#include <string>

#include "ZDQApi.h"
#include "acquisition/files/BmpFile.h"
#include "acquisition/files/JpegFile.h"
#include "acquisition/files/TiffFile.h"
#include "api/ExportFrame.h"
#include "platform/WideText.h"

namespace {

// Runs a file writer with its file name in UTF-8 inside the C interface:
// memory that runs out on the way gives RET_MALLOCFAIL (a file already
// created is removed as the writer unwinds).
template <typename Writer>
int WriteNamedFile(const wchar_t* pszFileName, Writer&& writer) noexcept {
    return CallGuarded([&] { return writer(plat::Utf8FromWide(pszFileName)); });
}

const wchar_t* BmpResultName(int nRet) {
    switch (nRet) {
        case RET_SUCCESS:
            return L"RET_SUCCESS";
        case RET_MALLOCFAIL:
            return L"RET_MALLOCFAIL";
        default:
            return L"RET_FAIL";
    }
}

}  // namespace

int ZDQ_HelperSaveToBmp(const unsigned char* pData, int nWidth, int nHeight, int nBitCount,
                        const wchar_t* pszFileName) {
    if (pData == nullptr || pszFileName == nullptr ||
        BmpImageBytes(nWidth, nHeight, nBitCount, BmpRows::Padded) == 0) {
        return RET_PARAMERROR;
    }
    ApiLog(L"ZDQAPI::++ZDQ_HelperSaveToBmp(0x%x, %d, %d, %d, %ls)", LogPointer(pData), nWidth,
           nHeight, nBitCount, pszFileName);
    const int nRet = WriteNamedFile(pszFileName, [&](const std::string& szPath) {
        return WriteBmpFile(pData, nWidth, nHeight, nBitCount, szPath);
    });
    ApiLog(L"ZDQAPI::--ZDQ_HelperSaveToBmp.Ret(%ls)", BmpResultName(nRet));
    return nRet;
}

int ZDQ_HelperSaveToJpg(const unsigned char* pData, int nWidth, int nHeight, int nBitCount,
                        int nQuality, const wchar_t* pszFileName) {
    if (pData == nullptr || pszFileName == nullptr || nWidth < 1 || nHeight < 1 ||
        (nBitCount != 8 && nBitCount != 24 && nBitCount != 32)) {
        return RET_FAIL;
    }
    return WriteNamedFile(pszFileName, [&](const std::string& szPath) {
        return WriteJpegFile(pData, nWidth, nHeight, nBitCount, nQuality, szPath);
    });
}

int ZDQ_HelperSaveToTiff(const unsigned char* pData, int nWidth, int nHeight, int nBitsPerSample,
                         int nSamplesPerPixel, const wchar_t* pszFileName) {
    if (pData == nullptr || pszFileName == nullptr || nWidth < 1 || nHeight < 1 ||
        (nBitsPerSample != 8 && nBitsPerSample != 16) ||
        (nSamplesPerPixel != 1 && nSamplesPerPixel != 3 && nSamplesPerPixel != 4) ||
        !TiffSizeFits(nWidth, nHeight, nBitsPerSample, nSamplesPerPixel)) {
        return RET_PARAMERROR;
    }
    ApiLog(L"ZDQAPI::++ZDQ_HelperSaveToTiff(0x%x, %d, %d, %d, %d, %ls)", LogPointer(pData), nWidth,
           nHeight, nBitsPerSample, nSamplesPerPixel, pszFileName);
    return WriteNamedFile(pszFileName, [&](const std::string& szPath) {
        return WriteTiffFile(pData, nWidth, nHeight, nBitsPerSample, nSamplesPerPixel, szPath);
    });
}

int ZDQ_HelperGetBmpFileHeaderSize(int nBitCount, int* pSize) {
    const size_t nSize = BmpHeaderBlockSize(nBitCount);
    if (pSize == nullptr || nSize == 0) {
        return RET_PARAMERROR;
    }
    *pSize = static_cast<int>(nSize);
    return RET_SUCCESS;
}

int ZDQ_HelperGetBmpFileHeader(int nWidth, int nHeight, int nBitCount, unsigned char* pHeader) {
    const uint32_t nImageBytes = BmpImageBytes(nWidth, nHeight, nBitCount, BmpRows::Packed);
    if (pHeader == nullptr || nImageBytes == 0) {
        return RET_PARAMERROR;
    }
    BuildBmpHeaderBlock(nWidth, nHeight, nBitCount, nImageBytes, pHeader);
    return RET_SUCCESS;
}
