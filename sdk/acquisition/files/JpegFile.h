// JPEG files of frames, written with libjpeg: baseline, the caller's quality,
// 8-bit frames as one-component greyscale, 24-bit (B,G,R) and 32-bit
// (B,G,R,X) frames as three-component RGB (the fourth byte is dropped).
#pragma once

#include <string>

// Writes the frame pData, nHeight packed rows of nWidth x nBitCount / 8
// bytes stored bottom-up, to a file created anew at szPath (UTF-8). nWidth
// and nHeight at least 1, nBitCount 8, 24 or 32; nQuality as
// jpeg_set_quality takes it (clamped to 1 .. 100). RET_SUCCESS;
// RET_MALLOCFAIL when memory is lacking; RET_FAIL when the file cannot be
// created or written or libjpeg refuses the image (a side beyond 65500
// pixels). A file that failed is removed.
int WriteJpegFile(const unsigned char* pData, int nWidth, int nHeight, int nBitCount, int nQuality,
                  const std::string& szPath);
