#include "acquisition/files/TiffFile.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "ZDQApi.h"
#include "acquisition/files/OutputFile.h"

namespace {

using TiffHandle = std::unique_ptr<TIFF, decltype(&TIFFClose)>;

constexpr float kDotsPerInch = 90.0f;

// The tags of the file, in the order they are set. False when libtiff
// refuses one.
bool SetTags(TIFF* pTiff, int nWidth, int nHeight, int nBitsPerSample, int nSamplesPerPixel) {
    const uint16_t wPhotometric = nSamplesPerPixel == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB;
    return TIFFSetField(pTiff, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_UINT) &&
           TIFFSetField(pTiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(nWidth)) &&
           TIFFSetField(pTiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(nHeight)) &&
           TIFFSetField(pTiff, TIFFTAG_SAMPLESPERPIXEL, static_cast<uint16_t>(nSamplesPerPixel)) &&
           TIFFSetField(pTiff, TIFFTAG_BITSPERSAMPLE, static_cast<uint16_t>(nBitsPerSample)) &&
           TIFFSetField(pTiff, TIFFTAG_PHOTOMETRIC, wPhotometric) &&
           TIFFSetField(pTiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
           TIFFSetField(pTiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) &&
           TIFFSetField(pTiff, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(nHeight)) &&
           TIFFSetField(pTiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH) &&
           TIFFSetField(pTiff, TIFFTAG_XRESOLUTION, kDotsPerInch) &&
           TIFFSetField(pTiff, TIFFTAG_YRESOLUTION, kDotsPerInch) &&
           TIFFSetField(pTiff, TIFFTAG_SUBFILETYPE, static_cast<uint32_t>(0)) &&
           TIFFSetField(pTiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
}

// B,G,R(,X) to R,G,B(,X): swaps the first and third sample of every pixel.
void SwapRedAndBlue(unsigned char* pRow, size_t nPixels, size_t nSampleBytes, size_t nPixelBytes) {
    for (size_t i = 0; i < nPixels; ++i, pRow += nPixelBytes) {
        std::swap_ranges(pRow, pRow + nSampleBytes, pRow + 2 * nSampleBytes);
    }
}

// Room for the file header and the directory with its values.
constexpr uint64_t kHeaderAndDirectoryBytes = 1024;

}  // namespace

bool TiffSizeFits(int nWidth, int nHeight, int nBitsPerSample, int nSamplesPerPixel) {
    if (nWidth < 1 || nHeight < 1 || nBitsPerSample < 1 || nSamplesPerPixel < 1) {
        return false;
    }
    // In 64 bits: the product of int sizes cannot overflow.
    const uint64_t nRowBytes = static_cast<uint64_t>(nWidth) *
                               static_cast<uint64_t>(nBitsPerSample / 8) *
                               static_cast<uint64_t>(nSamplesPerPixel);
    const uint64_t nImageBytes = nRowBytes * static_cast<uint64_t>(nHeight);
    return nImageBytes <= std::numeric_limits<uint32_t>::max() - kHeaderAndDirectoryBytes;
}

int WriteTiffFile(const unsigned char* pData, int nWidth, int nHeight, int nBitsPerSample,
                  int nSamplesPerPixel, const std::string& szPath) {
    // libtiff takes the descriptor of a file we created, so that we know
    // which file to remove when writing fails; readable, as libtiff opens
    // its own files for reading and writing.
    COutputFile file(szPath, true);
    if (!file.IsOpen()) {
        return RET_FAIL;
    }
    TiffHandle tiff(TIFFFdOpen(file.Descriptor(), szPath.c_str(), "w"), &TIFFClose);
    if (tiff == nullptr) {
        return RET_FAIL;
    }
    file.Release();  // TIFFClose closes it

    if (!SetTags(tiff.get(), nWidth, nHeight, nBitsPerSample, nSamplesPerPixel)) {
        return RET_FAIL;
    }
    const size_t nPixels = static_cast<size_t>(nWidth);
    const size_t nSampleBytes = static_cast<size_t>(nBitsPerSample / 8);
    const size_t nPixelBytes = nSampleBytes * static_cast<size_t>(nSamplesPerPixel);
    const size_t nRowBytes = nPixels * nPixelBytes;
    std::unique_ptr<unsigned char[]> pRow(new (std::nothrow) unsigned char[nRowBytes]);
    if (pRow == nullptr) {
        return RET_MALLOCFAIL;
    }
    // File row i is buffer row nHeight - 1 - i.
    for (int nRow = 0; nRow < nHeight; ++nRow) {
        std::memcpy(pRow.get(), pData + static_cast<size_t>(nHeight - 1 - nRow) * nRowBytes,
                    nRowBytes);
        if (nSamplesPerPixel > 1) {
            SwapRedAndBlue(pRow.get(), nPixels, nSampleBytes, nPixelBytes);
        }
        if (TIFFWriteScanline(tiff.get(), pRow.get(), static_cast<uint32_t>(nRow), 0) < 0) {
            return RET_FAIL;
        }
    }
    // The strip and the directory; TIFFClose would drop a failure here.
    if (!TIFFFlush(tiff.get())) {
        return RET_FAIL;
    }
    tiff.reset();
    file.Keep();
    return RET_SUCCESS;
}
