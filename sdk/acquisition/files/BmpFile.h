// BMP files and header blocks as the SDK writes them (all little-endian):
//   a 14-byte file header  "BM", file size, 0, offset of the pixel data;
//   a 40-byte info header  40, width, height (positive: bottom-up rows),
//                          1 plane, bit count, BI_RGB, image bytes, rest 0;
//   for 8-bit images a 256-entry palette whose entry i holds the bytes
//   i, i, i, i;
// then the pixel rows, bottom-up. Pixels are 8-bit grey, 24-bit B,G,R or
// 32-bit B,G,R,X.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// How the rows of the pixel data are laid out: DWORD-aligned as in a file
// or a DIB, or packed (width x bitCount / 8 bytes, as the SDK hands out
// frames).
enum class BmpRows { Padded, Packed };

// Bytes of the header block: 1078 with the palette of an 8-bit image, else
// 54; 0 for a bit count other than 8, 24 and 32.
size_t BmpHeaderBlockSize(int nBitCount);

// The image bytes a header announces for the image: height x row bytes. 0
// when the image cannot be described: width or height below 1, a bit count
// other than 8, 24 and 32, or a file size beyond the header's 32-bit field.
uint32_t BmpImageBytes(int nWidth, int nHeight, int nBitCount, BmpRows rows);

// Writes the header block of an image that BmpImageBytes accepts, announcing
// nImageBytes, into pBlock (BmpHeaderBlockSize bytes).
void BuildBmpHeaderBlock(int nWidth, int nHeight, int nBitCount, uint32_t nImageBytes,
                         unsigned char* pBlock);

// Writes the header block and the image bytes of pData (padded rows,
// bottom-up, as BmpImageBytes(..., BmpRows::Padded) counts them) to a file
// created anew at szPath (UTF-8). The image must be one BmpImageBytes
// accepts. RET_SUCCESS, or RET_FAIL when the file cannot be created or
// written; a file that failed is removed.
int WriteBmpFile(const unsigned char* pData, int nWidth, int nHeight, int nBitCount,
                 const std::string& szPath);
