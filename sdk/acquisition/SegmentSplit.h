// Segment split of the line sensors: the sensor sends the pixels of two
// segments interleaved, one byte each in turn; the split puts each row's
// bytes at even positions, in order, into its first half and those at odd
// positions into its second half.
#pragma once

#include <cstdint>

// Splits every row of nWidth bytes of an 8-bit frame of nHeight rows in
// place. Rows of fewer than two bytes stay as they are.
void SplitSegmentRows(uint8_t* pFrame, int nWidth, int nHeight);
