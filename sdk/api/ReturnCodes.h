// The return codes and their texts (the RET_* values are in ZDQApi.h).
#pragma once

#include "ZDQApi.h"

struct ReturnCodeEntry {
    int nCode;
    const wchar_t* pszText;
};

// Every return code with its text, RET_SUCCESS first, then -1 .. -26.
extern const ReturnCodeEntry ReturnCodeTable[27];

// The text of a code, or null for a code that is not in the table.
const wchar_t* ReturnCodeText(int nCode);
