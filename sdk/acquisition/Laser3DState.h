// The 3D laser-profile state of a device: its settings, the parameter block
// and run handle of the laser-profile library, the callbacks, and while it
// acquires the ring of caught frames, the point arrays and images with the
// two threads that share them.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "ZDQApi.h"
#include "acquisition/Laser3DLibrary.h"
#include "acquisition/Laser3DProfile.h"
#include "platform/Event.h"
#include "platform/Thread.h"

struct Laser3DCallbacks {
    ZDQ3DImageCallback pfLiveImage = nullptr;
    void* pLiveImageContext = nullptr;
    ZDQ3DProfileDataCallback pfProfileData = nullptr;
    void* pProfileDataContext = nullptr;
    ZDQ3DImageCallback pfProfileImage = nullptr;
    void* pProfileImageContext = nullptr;
    ZDQ3DPointCloudDataCallback pfPointCloudData = nullptr;
    void* pPointCloudDataContext = nullptr;
    ZDQ3DImageCallback pfPointCloudImage = nullptr;
    void* pPointCloudImageContext = nullptr;

    bool AnyProfileOrCloud() const {
        return pfProfileData != nullptr || pfProfileImage != nullptr ||
               pfPointCloudData != nullptr || pfPointCloudImage != nullptr;
    }
};

// What one acquisition run owns: allocated at its start, freed at its stop
// after both threads have ended.
struct Laser3DRun {
    int nColSize = 0;
    int nRowSize = 0;
    uint32_t nFrameBytes = 0;
    int nProfiles = 0;
    std::vector<uint8_t> ring;  // kRingSize frames of nFrameBytes
    // Filled slots: the capture thread adds, the processing thread removes.
    std::atomic<int> nFilled{0};
    int nWriteIndex = 0;  // capture thread only
    int nReadIndex = 0;   // processing thread only
    std::atomic<bool> bCatching{false};
    // One point cloud: colSize x profiles entries each, and the valid points
    // compacted to the front of the second set.
    std::vector<int> x, xCompact;
    std::vector<float> y, z, yCompact, zCompact;
    std::vector<uint8_t> profileImage;  // colSize x 256
    std::vector<uint8_t> cloudImage;    // colSize x profiles
    plat::Event frameReady{plat::Event::Mode::AutoReset};
    plat::Event slotFreed{plat::Event::Mode::AutoReset};
};

struct Laser3DState {
    static constexpr int kRingSize = 64;
    static constexpr int kMaxParamLength = 512;
    // The block's fields the SDK reads end at byte 32 (flip).
    static constexpr int kMinParamLength = 33;
    static constexpr uint8_t kParamMagic = 0x5A;

    std::atomic<bool> bIs3D{false};
    std::atomic<bool> bAcquiring{false};
    const Laser3DEntries* pLibrary = nullptr;
    std::vector<uint8_t> paramBlock;
    bool bHandle = false;
    uint64_t ullRunHandle = 0;
    int nLaserMode = 2;
    int nProfiles = 800;
    std::atomic<bool> bObliterate{true};
    float fZMin = 0.0f;
    float fZMax = 5.0f;
    float fYResolution = 1.0f;
    std::atomic<float> fTransmissionRate{0.0f};
    std::atomic<float> fTriggerRate{0.0f};
    int nThreshold = 0;
    Laser3DCallbacks callbacks;
    std::unique_ptr<Laser3DRun> pRun;
    plat::Thread captureThread;
    plat::Thread processingThread;
    // The processing thread while it runs (the callbacks' thread).
    std::atomic<std::thread::id> processingThreadId{};
};
