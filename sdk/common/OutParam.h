// Writing through the out pointers of a call, each of which the caller may
// leave null.
#pragma once

// *pOut = value converted to the out's type; nothing for a null pOut.
template <typename T, typename V>
void SetOut(T* pOut, V value) {
    if (pOut != nullptr) {
        *pOut = static_cast<T>(value);
    }
}
