#include "acquisition/Laser3DLibrary.h"

namespace {

template <typename Function>
bool Resolve(const plat::DynamicLibrary& library, const char* pszName, Function& function) {
    function = reinterpret_cast<Function>(library.Symbol(pszName));
    return function != nullptr;
}

}  // namespace

const Laser3DEntries* CLaser3DLibrary::Load() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_pLibrary) {
        return &m_Entries;
    }
    std::unique_ptr<plat::DynamicLibrary> pLibrary =
        plat::DynamicLibrary::Open(m_name, reinterpret_cast<const void*>(&Laser3DLibrary));
    if (!pLibrary) {
        return nullptr;
    }
    Laser3DEntries entries{};
    const bool bComplete =
        Resolve(*pLibrary, "ZDQ_3DGetVersion", entries.GetVersion) &&
        Resolve(*pLibrary, "ZDQ_Get3DParamLength", entries.GetParamLength) &&
        Resolve(*pLibrary, "ZDQ_Init3DRunParam", entries.InitRunParam) &&
        Resolve(*pLibrary, "ZDQ_Uninit3DRunParam", entries.UninitRunParam) &&
        Resolve(*pLibrary, "ZDQ_Set3DROI", entries.SetRoi) &&
        Resolve(*pLibrary, "ZDQ_ImageToPointCloud", entries.ImageToPointCloud) &&
        Resolve(*pLibrary, "ZDQ_GetMeasurementRange", entries.GetMeasurementRange);
    if (!bComplete) {
        return nullptr;  // unloaded again; the next Load() tries anew
    }
    m_Entries = entries;
    m_pLibrary = std::move(pLibrary);
    return &m_Entries;
}

CLaser3DLibrary& Laser3DLibrary() {
    // Devices of other threads may still run its functions while the process
    // ends: it is never destroyed.
    static CLaser3DLibrary* const pLibrary = new CLaser3DLibrary("ZDQ3DApi_x64");
    return *pLibrary;
}
