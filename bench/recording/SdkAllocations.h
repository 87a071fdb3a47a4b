// Counts the allocations the code of one shared library makes: every
// operator new of the program whose caller lies in that library's text.
// Calls from elsewhere (the simulator, the C++ library, the program) do not
// count.
#pragma once

#include <cstdint>

// Starts counting the calls from the library holding pSymbol.
void CountSdkAllocations(const void* pSymbol);
// The calls counted so far.
uint64_t SdkAllocations();
