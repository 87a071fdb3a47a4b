#include "SdkAllocations.h"

#include <dlfcn.h>
#include <link.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<uintptr_t> g_nTextBegin{0}, g_nTextEnd{0};
std::atomic<uint64_t> g_nAllocations{0};

}  // namespace

void CountSdkAllocations(const void* pSymbol) {
    Dl_info info{};
    if (dladdr(pSymbol, &info) == 0) {
        return;
    }
    dl_iterate_phdr(
        [](dl_phdr_info* pInfo, size_t, void* pBase) {
            if (reinterpret_cast<void*>(pInfo->dlpi_addr) != pBase) {
                return 0;
            }
            for (int i = 0; i < pInfo->dlpi_phnum; ++i) {
                const ElfW(Phdr)& segment = pInfo->dlpi_phdr[i];
                if (segment.p_type == PT_LOAD && (segment.p_flags & PF_X) != 0) {
                    const uintptr_t nBegin = pInfo->dlpi_addr + segment.p_vaddr;
                    g_nTextEnd = nBegin + segment.p_memsz;
                    g_nTextBegin = nBegin;
                }
            }
            return 1;
        },
        info.dli_fbase);
}

uint64_t SdkAllocations() {
    return g_nAllocations;
}

void* operator new(size_t nBytes) {
    const auto nCaller = reinterpret_cast<uintptr_t>(__builtin_return_address(0));
    if (nCaller >= g_nTextBegin.load(std::memory_order_relaxed) &&
        nCaller < g_nTextEnd.load(std::memory_order_relaxed)) {
        g_nAllocations.fetch_add(1, std::memory_order_relaxed);
    }
    if (void* p = std::malloc(nBytes == 0 ? 1 : nBytes)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
