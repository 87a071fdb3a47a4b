#include "acquisition/SegmentSplit.h"

#include <cstring>
#include <vector>

void SplitSegmentRows(uint8_t* pFrame, int nWidth, int nHeight) {
    if (pFrame == nullptr || nWidth < 2 || nHeight <= 0) {
        return;
    }
    const size_t nRow = static_cast<size_t>(nWidth);
    const size_t nFirstHalf = (nRow + 1) / 2;
    std::vector<uint8_t> scratch(nRow);
    for (int y = 0; y < nHeight; ++y) {
        uint8_t* pRow = pFrame + static_cast<size_t>(y) * nRow;
        for (size_t i = 0; i < nRow; ++i) {
            scratch[(i % 2 == 0) ? i / 2 : nFirstHalf + i / 2] = pRow[i];
        }
        std::memcpy(pRow, scratch.data(), nRow);
    }
}
