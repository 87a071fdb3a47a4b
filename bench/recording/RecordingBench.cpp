// The parallel preview of a 2592 x 1944 8-bit monochrome camera, the
// simulator in instant mode, drawn into a 1000 x 750 rectangle of a window
// whose sink only counts: frames drawn per second by the preview alone and,
// right after it, with an uncompressed AVI recording of every shown frame,
// and their ratio. The recording goes to a fresh temporary folder (removed
// afterwards; its file system and path are the label), its compressor
// options to a registry file there.
//
// The preview alone runs two seconds. The recording runs two seconds too, or
// ends sooner once it has drawn nine tenths of the frames that fit into the
// format's 4 GiB: a recording stops before its file passes that limit, and
// its figures would then tell the stop instead of the speed. Beside the
// frames: the frame bytes written per second, and the SDK's allocations per
// drawn frame in each phase. A run fails when the closed file lacks frames
// that were drawn while it recorded.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/statfs.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <new>
#include <string>
#include <thread>

#include "SdkAllocations.h"
#include "ZDQApi.h"
#include "mlusbimager_control.h"
#include "platform/AviWriter.h"
#include "window/PlatWindow.h"

namespace {

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;
constexpr uint64_t kFrameBytes = static_cast<uint64_t>(kWidth) * kHeight;
constexpr auto kRunTime = std::chrono::seconds(2);
constexpr auto kPoll = std::chrono::milliseconds(1);
// A frame's share of the file: its chunk (8-byte header) and index entry.
constexpr uint64_t kFileBytesPerFrame = 8 + kFrameBytes + 16;
// The frames a recording draws at most: nine tenths of those that fit.
constexpr int kMaxRecordedFrames =
    static_cast<int>(plat::AviWriter::kMaxFileBytes / kFileBytesPerFrame * 9 / 10);
// Where the frame count of a closed file is (the 'avih' total frames).
constexpr long kTotalFramesOffset = 48;

std::atomic<int> g_nDrawn{0};

void CountingSink(void*, const PlatBitmapInfo*, const void*, int, int, int, int) {
    ++g_nDrawn;
}

// A temporary folder for the file and the registry, removed at exit.
struct TempFolder {
    TempFolder() {
        std::string pattern = std::filesystem::temp_directory_path().string() + "/zdqrecXXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            path = pattern;
            setenv("VARNU_REGISTRY", (path + "/registry.reg").c_str(), 1);
        }
    }
    ~TempFolder() {
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
    std::string path;
};

// The file system a folder lies on, by name where known.
std::string FileSystemName(const std::string& path) {
    struct statfs fs {};
    if (statfs(path.c_str(), &fs) != 0) {
        return "unknown";
    }
    switch (static_cast<uint64_t>(fs.f_type)) {
        case 0x01021994:
            return "tmpfs";
        case 0xEF53:
            return "ext4";
        case 0x9123683E:
            return "btrfs";
        case 0x58465342:
            return "xfs";
        case 0x794C7630:
            return "overlayfs";
        default: {
            char szType[32];
            std::snprintf(szType, sizeof szType, "fs 0x%llx",
                          static_cast<unsigned long long>(fs.f_type));
            return szType;
        }
    }
}

// The frame count of a closed AVI file; -1 when it cannot be read.
long FramesInFile(const std::string& path) {
    FILE* pFile = std::fopen(path.c_str(), "rb");
    if (pFile == nullptr) {
        return -1;
    }
    uint8_t count[4] = {};
    const bool bRead = std::fseek(pFile, kTotalFramesOffset, SEEK_SET) == 0 &&
                       std::fread(count, 1, sizeof count, pFile) == sizeof count;
    std::fclose(pFile);
    return bRead ? static_cast<long>(count[0] | count[1] << 8 | count[2] << 16 |
                                     static_cast<uint32_t>(count[3]) << 24)
                 : -1;
}

bool OpenStationCamera() {
    static const bool bOpen = [] {
        MlSimProfile profile;
        mlsim_profile_default(9, &profile);  // monochrome 2592 x 1944
        profile.timing = MLSIM_TIMING_INSTANT;
        return mlsim_plug(0, &profile) == 1 && ZDQ_Init() == RET_SUCCESS &&
               ZDQ_PreviewSetFieldOfView(0, 0, 0, kWidth, kHeight, 0, 0) == RET_SUCCESS &&
               ZDQ_PreviewSetMode(0, 0) == RET_SUCCESS;
    }();
    return bOpen;
}

// What one phase of a run measured.
struct Phase {
    int nDrawn = 0;
    double dSeconds = 0;
    uint64_t nAllocations = 0;
};

// Draws until the run time has passed or nMaxFrames were drawn.
Phase Measure(int nMaxFrames) {
    Phase phase;
    const int nDrawn0 = g_nDrawn;
    const uint64_t nAllocations0 = SdkAllocations();
    const auto start = std::chrono::steady_clock::now();
    auto now = start;
    while (now - start < kRunTime && g_nDrawn - nDrawn0 < nMaxFrames) {
        std::this_thread::sleep_for(kPoll);
        now = std::chrono::steady_clock::now();
    }
    phase.nDrawn = g_nDrawn - nDrawn0;
    phase.nAllocations = SdkAllocations() - nAllocations0;
    phase.dSeconds = std::chrono::duration<double>(now - start).count();
    return phase;
}

void BM_PreviewRecording(benchmark::State& state) {
    TempFolder folder;
    CountSdkAllocations(reinterpret_cast<void*>(&ZDQ_Init));
    if (folder.path.empty() || !OpenStationCamera()) {
        state.SkipWithError("no camera or no temporary folder");
        return;
    }
    const std::string file = folder.path + "/preview.avi";
    const std::wstring wideFile = std::filesystem::path(file).wstring();
    const PlatWindow window = platwin_register(CountingSink, nullptr);
    ZDQ_PreviewSetPos(0, window, 0, 0, 1000, 750);
    Phase alone, recorded;
    for (auto _ : state) {
        ZDQ_PreviewStartEx(0, true, true);
        alone = Measure(INT32_MAX);
        const int nBeforeStart = g_nDrawn;
        if (ZDQ_RecordStart(0, true, 25.0f, wideFile.c_str()) != RET_SUCCESS) {
            state.SkipWithError("recording did not start");
            ZDQ_PreviewStartEx(0, false, true);
            break;
        }
        const int nAfterStart = g_nDrawn;
        recorded = Measure(kMaxRecordedFrames);
        bool bStillRecording = false;
        ZDQ_RecordStatusGet(0, &bStillRecording);
        const int nBeforeStop = g_nDrawn;
        ZDQ_PreviewStartEx(0, false, true);  // ends the recording first
        const long nInFile = FramesInFile(file);
        state.SetIterationTime(alone.dSeconds + recorded.dSeconds);
        if (!bStillRecording) {
            state.SkipWithError("the recording ended early");
            break;
        }
        // Every frame drawn while recording is in the file: at least those
        // from the start's return to the stop's call, at most those since the
        // start was called (the preview draws on a little after the stop
        // ended the recording).
        if (nInFile < nBeforeStop - nAfterStart || nInFile > g_nDrawn - nBeforeStart) {
            state.SkipWithError("the file does not hold the frames drawn");
            break;
        }
    }
    platwin_unregister(window);
    const double dAlone = alone.nDrawn / alone.dSeconds;
    const double dRecorded = recorded.nDrawn / recorded.dSeconds;
    state.counters["preview_per_second"] = dAlone;
    state.counters["recording_per_second"] = dRecorded;
    state.counters["recording_to_preview"] = dRecorded / dAlone;
    state.counters["recording_seconds"] = recorded.dSeconds;
    state.counters["written_MB_per_second"] = dRecorded * static_cast<double>(kFrameBytes) / 1e6;
    state.counters["preview_allocs_per_frame"] =
        static_cast<double>(alone.nAllocations) / std::max(alone.nDrawn, 1);
    state.counters["recording_allocs_per_frame"] =
        static_cast<double>(recorded.nAllocations) / std::max(recorded.nDrawn, 1);
    state.SetLabel(FileSystemName(folder.path) + " " + folder.path);
}
BENCHMARK(BM_PreviewRecording)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
