// TIFF files of frames, written with libtiff: uncompressed, one strip,
// contiguous samples, top-left orientation, 90 dots per inch. One sample per
// pixel is min-is-black grey; three or four are RGB, the fourth written after
// the colour samples without an extra-samples tag.
#pragma once

#include <string>

// Whether a frame of these sizes fits a TIFF file: the image, one strip of
// unpadded rows, and the file's header and directory must stay within the
// 32-bit offsets and byte counts of the format. False for sizes below 1.
bool TiffSizeFits(int nWidth, int nHeight, int nBitsPerSample, int nSamplesPerPixel);

// Writes the frame pData, nHeight packed rows of nWidth x nSamplesPerPixel
// samples of nBitsPerSample bits stored bottom-up, B,G,R(,X) for more than
// one sample, to a file created anew at szPath (UTF-8). The file holds the
// rows top-down with the samples as R,G,B(,X). nWidth and nHeight at least
// 1, nBitsPerSample 8 or 16, nSamplesPerPixel 1, 3 or 4. RET_SUCCESS;
// RET_MALLOCFAIL when memory is lacking; RET_FAIL when the file cannot be
// created or written. A file that failed is removed.
int WriteTiffFile(const unsigned char* pData, int nWidth, int nHeight, int nBitsPerSample,
                  int nSamplesPerPixel, const std::string& szPath);
