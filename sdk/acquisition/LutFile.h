// The LUT file: a little-endian header, k skipped 8-byte records and the
// table. The LUT (type 'A') holds one byte an entry, the gamma LUT (type
// 'C') one 16-bit entry. A table has 2 to the power n entries, at most 4096.
#pragma once

#include <cstdint>
#include <vector>

struct LutFileTable {
    uint32_t nEntries = 0;
    std::vector<uint8_t> bytes;     // type 'A': nEntries bytes
    std::vector<uint16_t> entries;  // type 'C': nEntries entries
};

// Reads the table of a LUT file of the given type ('A' or 'C'):
// RET_PARAMERROR for a null name, RET_FAIL when the file cannot be read, is
// shorter than its header says or declares a length other than 2^n or above
// 4096, RET_VERSIONERROR for a version other than 0x0200, RET_ILLEGALOPERATION
// for another type; else 1.
int ReadLutFile(const wchar_t* pszFile, char cType, LutFileTable& table);
