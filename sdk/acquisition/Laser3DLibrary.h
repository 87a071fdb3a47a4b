// The laser-profile library (lib<name>.so, ZDQ3DApi_x64 for the SDK): the
// seven entries the 3D family drives. It is loaded once per process, beside
// the SDK first, and stays loaded; a load that fails (no library, or one
// without every entry) is tried again at the next Load().
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "platform/DynamicLibrary.h"

struct Laser3DEntries {
    int (*GetVersion)(int* pMajor, int* pMinor);
    int (*GetParamLength)();
    int (*InitRunParam)(const unsigned char* pBlock, uint64_t* pHandle);
    int (*UninitRunParam)(uint64_t handle);
    int (*SetRoi)(uint64_t handle, int x, int y, int width, int height);
    int (*ImageToPointCloud)(const unsigned char* pFrame, uint64_t handle, int threshold, float* pZ,
                             int* pX);
    int (*GetMeasurementRange)(uint64_t handle, float* pXFrom, float* pXTo, float* pZFrom,
                               float* pZTo);
};

class CLaser3DLibrary {
  public:
    explicit CLaser3DLibrary(std::string name) : m_name(std::move(name)) {}
    CLaser3DLibrary(const CLaser3DLibrary&) = delete;
    CLaser3DLibrary& operator=(const CLaser3DLibrary&) = delete;

    // The entries, loading the library on the first call and after a failed
    // one; null when the library or one of its entries cannot be found.
    const Laser3DEntries* Load();

  private:
    const std::string m_name;
    std::mutex m_mutex;
    std::unique_ptr<plat::DynamicLibrary> m_pLibrary;
    Laser3DEntries m_Entries{};
};

// The process's laser-profile library, never unloaded.
CLaser3DLibrary& Laser3DLibrary();
