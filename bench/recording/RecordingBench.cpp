// The parallel preview of a 2592 x 1944 8-bit monochrome camera, the
// simulator in instant mode, drawn into a 1000 x 750 rectangle of a window
// whose sink only counts, with an uncompressed AVI recording of the shown
// frames, against the sequential write ceiling of the file system the
// recording goes to, measured in the same run: the frame bytes the recording
// wrote per second and their share of that ceiling. The recording goes to a
// fresh temporary folder (TMPDIR, removed afterwards; its file system and
// path are the label), its compressor options to a registry file there.
//
// The ceiling is the faster of two sequential writes of frame-sized blocks
// into a file of the folder for two seconds: through the page cache, synced
// at the end, and past it where the file system allows. The preview alone
// runs two seconds (frames drawn per second). The recording runs two seconds
// too, or ends sooner once its file holds nine tenths of the frames that fit
// into the format's 4 GiB: a recording stops before its file passes that
// limit, and its figures would then tell the stop instead of the speed. The
// preview draws faster than a file takes frames: the frames drawn while the
// writer was behind are left out of the file (counted). Beside: the SDK's
// allocations per drawn frame in each phase. A run fails when the recording
// ended early or the closed file holds more frames than were drawn while it
// recorded.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
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
// The frames a recording writes at most: nine tenths of those that fit.
constexpr uint64_t kMaxRecordedFrames =
    plat::AviWriter::kMaxFileBytes / kFileBytesPerFrame * 9 / 10;
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

// Writes frame-sized blocks one after the other into a new file of the
// folder for the run time (at most the format's 4 GiB) and removes it: bytes
// written per second, 0 when the file cannot be written. bDirect writes past
// the page cache (0 when the file system refuses that); otherwise the time
// includes the sync of what the cache still holds.
double SequentialWriteBytesPerSecond(const std::string& folder, bool bDirect) {
    const std::string path = folder + (bDirect ? "/ceiling-direct.bin" : "/ceiling.bin");
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | (bDirect ? O_DIRECT : 0), 0600);
    if (fd < 0) {
        return 0;
    }
    // Direct writes take whole blocks from an aligned buffer.
    constexpr size_t kAlign = 4096;
    const size_t nBlock = (kFrameBytes + kAlign - 1) / kAlign * kAlign;
    void* pRaw = nullptr;
    if (posix_memalign(&pRaw, kAlign, nBlock) != 0) {
        ::close(fd);
        ::unlink(path.c_str());
        return 0;
    }
    std::unique_ptr<void, void (*)(void*)> pBuffer(pRaw, std::free);
    std::memset(pBuffer.get(), 0x5A, nBlock);
    uint64_t nWritten = 0;
    bool bFailed = false;
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < kRunTime &&
           nWritten + nBlock <= plat::AviWriter::kMaxFileBytes) {
        if (::write(fd, pBuffer.get(), nBlock) != static_cast<ssize_t>(nBlock)) {
            bFailed = true;
            break;
        }
        nWritten += nBlock;
    }
    bFailed = ::fdatasync(fd) != 0 || bFailed;
    const double dSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ::close(fd);
    ::unlink(path.c_str());
    return bFailed || dSeconds <= 0 ? 0 : static_cast<double>(nWritten) / dSeconds;
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

// Draws until the run time has passed or the file (when one is given) has
// grown to nine tenths of the format's limit.
Phase Measure(const std::string& file) {
    Phase phase;
    const int nDrawn0 = g_nDrawn;
    const uint64_t nAllocations0 = SdkAllocations();
    const auto start = std::chrono::steady_clock::now();
    auto now = start;
    auto full = [&] {
        std::error_code error;
        return !file.empty() &&
               std::filesystem::file_size(file, error) >= kMaxRecordedFrames * kFileBytesPerFrame;
    };
    while (now - start < kRunTime && !full()) {
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
    double dCached = 0, dDirect = 0, dCeiling = 0;
    long nInFile = 0;
    int nDrawnRecording = 0;
    for (auto _ : state) {
        dCached = SequentialWriteBytesPerSecond(folder.path, false);
        dDirect = SequentialWriteBytesPerSecond(folder.path, true);
        dCeiling = std::max(dCached, dDirect);
        if (dCeiling <= 0) {
            state.SkipWithError("the folder cannot be written");
            break;
        }
        ZDQ_PreviewStartEx(0, true, true);
        alone = Measure(std::string());
        const int nBeforeStart = g_nDrawn;
        if (ZDQ_RecordStart(0, true, 25.0f, wideFile.c_str()) != RET_SUCCESS) {
            state.SkipWithError("recording did not start");
            ZDQ_PreviewStartEx(0, false, true);
            break;
        }
        const int nAfterStart = g_nDrawn;
        recorded = Measure(file);
        bool bStillRecording = false;
        ZDQ_RecordStatusGet(0, &bStillRecording);
        const int nBeforeStop = g_nDrawn;
        ZDQ_PreviewStartEx(0, false, true);  // ends the recording first
        nInFile = FramesInFile(file);
        nDrawnRecording = nBeforeStop - nAfterStart;
        state.SetIterationTime(alone.dSeconds + recorded.dSeconds);
        if (!bStillRecording) {
            state.SkipWithError("the recording ended early");
            break;
        }
        // The file holds at most the frames drawn since the start was called
        // (the preview draws on a little after the stop ended the recording).
        if (nInFile <= 0 || nInFile > g_nDrawn - nBeforeStart) {
            state.SkipWithError("the file does not hold the frames drawn");
            break;
        }
    }
    platwin_unregister(window);
    const double dAlone = alone.nDrawn / alone.dSeconds;
    const double dRecorded = recorded.nDrawn / recorded.dSeconds;
    const double dWritten = static_cast<double>(std::max(nInFile, 0L)) *
                            static_cast<double>(kFrameBytes) / recorded.dSeconds;
    state.counters["preview_per_second"] = dAlone;
    state.counters["recording_drawn_per_second"] = dRecorded;
    state.counters["recording_seconds"] = recorded.dSeconds;
    state.counters["frames_left_out"] =
        static_cast<double>(std::max(0L, static_cast<long>(nDrawnRecording) - nInFile));
    state.counters["write_cached_MB_per_second"] = dCached / 1e6;
    state.counters["write_direct_MB_per_second"] = dDirect / 1e6;
    state.counters["write_ceiling_MB_per_second"] = dCeiling / 1e6;
    state.counters["written_MB_per_second"] = dWritten / 1e6;
    state.counters["written_to_ceiling"] = dCeiling > 0 ? dWritten / dCeiling : 0;
    state.counters["preview_allocs_per_frame"] =
        static_cast<double>(alone.nAllocations) / std::max(alone.nDrawn, 1);
    state.counters["recording_allocs_per_frame"] =
        static_cast<double>(recorded.nAllocations) / std::max(recorded.nDrawn, 1);
    state.SetLabel(FileSystemName(folder.path) + " " + folder.path);
}
BENCHMARK(BM_PreviewRecording)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
