// The parallel preview of a 2592 x 1944 8-bit monochrome camera, the
// simulator in instant mode, drawn into a 1000 x 750 rectangle of a window
// whose sink only counts: frames drawn per second without and with an
// uncompressed AVI recording of every shown frame. The recording goes to a
// fresh temporary folder (removed afterwards), its compressor options to a
// registry file there. Each run lasts two seconds, so the file stays well
// below the format's 4 GiB.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "ZDQApi.h"
#include "mlusbimager_control.h"
#include "window/PlatWindow.h"

namespace {

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;
constexpr auto kRunTime = std::chrono::seconds(2);

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

void BM_PreviewRecording(benchmark::State& state) {
    const bool bRecord = state.range(0) != 0;
    TempFolder folder;
    if (folder.path.empty() || !OpenStationCamera()) {
        state.SkipWithError("no camera or no temporary folder");
        return;
    }
    const std::wstring file = std::filesystem::path(folder.path + "/preview.avi").wstring();
    const PlatWindow window = platwin_register(CountingSink, nullptr);
    ZDQ_PreviewSetPos(0, window, 0, 0, 1000, 750);
    double dDrawn = 0, dSeconds = 0;
    for (auto _ : state) {
        ZDQ_PreviewStartEx(0, true, true);
        if (bRecord && ZDQ_RecordStart(0, true, 25.0f, file.c_str()) != RET_SUCCESS) {
            state.SkipWithError("recording did not start");
            ZDQ_PreviewStartEx(0, false, true);
            break;
        }
        const int nDrawn0 = g_nDrawn;
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(kRunTime);
        const int nDrawn = g_nDrawn;
        const double dElapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        bool bStillRecording = !bRecord;
        ZDQ_RecordStatusGet(0, &bStillRecording);
        ZDQ_PreviewStartEx(0, false, true);  // ends the recording too
        if (!bStillRecording && bRecord) {
            state.SkipWithError("the recording ended early");
        }
        dDrawn += nDrawn - nDrawn0;
        dSeconds += dElapsed;
        state.SetIterationTime(dElapsed);
    }
    platwin_unregister(window);
    state.counters["drawn_per_second"] = dDrawn / dSeconds;
    state.SetLabel(bRecord ? "recording" : "preview only");
}
BENCHMARK(BM_PreviewRecording)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
