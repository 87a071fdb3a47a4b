// Preview of a 2592 x 1944 8-bit monochrome camera, the simulator in instant
// mode (a frame is ready as soon as it is asked for), drawn into a 1000 x 750
// rectangle of a window whose sink only counts. Each run previews for three
// seconds and reports the frames shown and caught per second; the parallel
// engine catches on one thread and converts and draws on another.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "ZDQApi.h"
#include "mlusbimager_control.h"
#include "window/PlatWindow.h"

namespace {

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;
constexpr auto kRunTime = std::chrono::seconds(3);

std::atomic<int> g_nDrawn{0};

void CountingSink(void*, const PlatBitmapInfo*, const void*, int, int, int, int) {
    ++g_nDrawn;
}

bool OpenStationCamera() {
    static const bool bOpen = [] {
        MlSimProfile profile;
        mlsim_profile_default(9, &profile);  // monochrome 2592 x 1944
        profile.timing = MLSIM_TIMING_INSTANT;
        return mlsim_plug(0, &profile) == 1 && ZDQ_Init() == RET_SUCCESS &&
               ZDQ_SetParam(0, ZDQ_CONTRAST, 10) == RET_SUCCESS &&
               ZDQ_SetParam(0, ZDQ_BRIGHTNESS, 25) == RET_SUCCESS &&
               ZDQ_PreviewSetFieldOfView(0, 0, 0, kWidth, kHeight, 0, 0) == RET_SUCCESS &&
               ZDQ_PreviewSetMode(0, 0) == RET_SUCCESS;
    }();
    return bOpen;
}

void BM_Preview(benchmark::State& state) {
    const bool bParallel = state.range(0) != 0;
    if (!OpenStationCamera()) {
        state.SkipWithError("no camera");
        return;
    }
    const PlatWindow window = platwin_register(CountingSink, nullptr);
    ZDQ_PreviewSetPos(0, window, 0, 0, 1000, 750);
    double dShown = 0, dCaught = 0, dSeconds = 0;
    for (auto _ : state) {
        int nCaught0 = 0, nShown0 = 0;
        ZDQ_PreviewStartEx(0, true, bParallel);
        ZDQ_GetPreviewFrameCount(0, &nCaught0, &nShown0);
        const int nDrawn0 = g_nDrawn;
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(kRunTime);
        int nCaught = 0, nShown = 0;
        ZDQ_GetPreviewFrameCount(0, &nCaught, &nShown);
        const int nDrawn = g_nDrawn;
        const double dElapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ZDQ_PreviewStartEx(0, false, bParallel);
        dShown += nDrawn - nDrawn0;
        dCaught += nCaught - nCaught0;
        dSeconds += dElapsed;
        state.SetIterationTime(dElapsed);
    }
    platwin_unregister(window);
    state.counters["drawn_per_second"] = dShown / dSeconds;
    state.counters["caught_per_second"] = dCaught / dSeconds;
    state.SetLabel(bParallel ? "parallel" : "serial");
}
BENCHMARK(BM_Preview)->Arg(0)->Arg(1)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
