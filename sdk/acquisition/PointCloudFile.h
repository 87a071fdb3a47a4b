// Point clouds as ASCII PCD 0.7 files: x, y and z of width x height points,
// a point whose x is -1000.0 written as "nan nan nan".
#pragma once

#include <cstdint>

// RET_PARAMERROR for a size not above 0 or a null array or name,
// RET_FAIL when the file cannot be created or written (nothing is left of
// it then), else 1. An existing file is replaced.
int SavePointCloudPcd(int nWidth, int nHeight, const float* pX, const float* pY, const float* pZ,
                      const wchar_t* pszFile);
