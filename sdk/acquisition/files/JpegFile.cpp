#include "acquisition/files/JpegFile.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

#include "ZDQApi.h"
#include "acquisition/files/OutputFile.h"

namespace {

// libjpeg's standard error manager, except that a fatal error jumps back to
// the compression instead of ending the process, and messages are not
// printed (the JPEG writer logs nothing).
struct JpegErrorManager {
    jpeg_error_mgr standard;
    std::jmp_buf resume;
};

[[noreturn]] void JumpBackOnError(j_common_ptr pInfo) {
    auto* pManager = reinterpret_cast<JpegErrorManager*>(pInfo->err);
    std::longjmp(pManager->resume, 1);
}

void DropMessage(j_common_ptr) {}

// The frame as libjpeg takes it: rows top-down, R,G,B or grey.
void CopyTopDown(const unsigned char* pData, int nWidth, int nHeight, int nBitCount,
                 unsigned char* pRows) {
    const size_t nPixels = static_cast<size_t>(nWidth);
    const size_t nSourcePixelBytes = static_cast<size_t>(nBitCount / 8);
    const size_t nSourceRowBytes = nPixels * nSourcePixelBytes;
    const size_t nTargetRowBytes = nBitCount == 8 ? nPixels : nPixels * 3;
    for (int nRow = 0; nRow < nHeight; ++nRow) {
        const unsigned char* pSource =
            pData + static_cast<size_t>(nHeight - 1 - nRow) * nSourceRowBytes;
        unsigned char* pTarget = pRows + static_cast<size_t>(nRow) * nTargetRowBytes;
        if (nBitCount == 8) {
            std::memcpy(pTarget, pSource, nTargetRowBytes);
            continue;
        }
        for (size_t i = 0; i < nPixels; ++i, pSource += nSourcePixelBytes, pTarget += 3) {
            pTarget[0] = pSource[2];
            pTarget[1] = pSource[1];
            pTarget[2] = pSource[0];
        }
    }
}

// Compresses the top-down rows into pStream. RET_SUCCESS, RET_MALLOCFAIL
// when libjpeg lacks memory, RET_FAIL for any other libjpeg error (a write
// that failed among them). Only C objects live in this frame while libjpeg
// may jump back into it.
int Compress(FILE* pStream, const unsigned char* pRows, int nWidth, int nHeight, bool bGrey,
             int nQuality) {
    jpeg_compress_struct info{};
    JpegErrorManager error{};
    info.err = jpeg_std_error(&error.standard);
    error.standard.error_exit = JumpBackOnError;
    error.standard.output_message = DropMessage;
    if (setjmp(error.resume) != 0) {
        jpeg_destroy_compress(&info);
        return error.standard.msg_code == JERR_OUT_OF_MEMORY ? RET_MALLOCFAIL : RET_FAIL;
    }

    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, pStream);
    info.image_width = static_cast<JDIMENSION>(nWidth);
    info.image_height = static_cast<JDIMENSION>(nHeight);
    info.input_components = bGrey ? 1 : 3;
    info.in_color_space = bGrey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, nQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const size_t nRowBytes = static_cast<size_t>(nWidth) * (bGrey ? 1 : 3);
    while (info.next_scanline < info.image_height) {
        // libjpeg reads the rows only; its interface is not const.
        JSAMPROW pRow = const_cast<JSAMPROW>(pRows + info.next_scanline * nRowBytes);
        jpeg_write_scanlines(&info, &pRow, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return RET_SUCCESS;
}

}  // namespace

int WriteJpegFile(const unsigned char* pData, int nWidth, int nHeight, int nBitCount, int nQuality,
                  const std::string& szPath) {
    const bool bGrey = nBitCount == 8;
    // In 64 bits the size cannot overflow for int sides; a size no memory
    // can hold simply fails to allocate.
    const size_t nBytes =
        static_cast<size_t>(nWidth) * static_cast<size_t>(nHeight) * (bGrey ? 1 : 3);
    std::unique_ptr<unsigned char[]> pRows(new (std::nothrow) unsigned char[nBytes]);
    if (pRows == nullptr) {
        return RET_MALLOCFAIL;
    }
    // A side the format cannot hold is refused before anything of the frame
    // is read: libjpeg would refuse it only after the copy.
    if (nWidth > JPEG_MAX_DIMENSION || nHeight > JPEG_MAX_DIMENSION) {
        return RET_FAIL;
    }
    CopyTopDown(pData, nWidth, nHeight, nBitCount, pRows.get());

    COutputFile file(szPath);
    if (!file.IsOpen()) {
        return RET_FAIL;
    }
    FILE* pStream = file.OpenStream();
    if (pStream == nullptr) {
        return RET_MALLOCFAIL;  // the stream's buffer
    }
    const int nRet = Compress(pStream, pRows.get(), nWidth, nHeight, bGrey, nQuality);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    if (!file.Close()) {
        return RET_FAIL;
    }
    file.Keep();
    return RET_SUCCESS;
}
