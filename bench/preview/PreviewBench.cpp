// Preview of a 2592 x 1944 8-bit monochrome camera, the simulator in instant
// mode (a frame is ready as soon as it is asked for), drawn into a 1000 x 750
// rectangle of a window whose sink only counts. Each run previews for three
// seconds and reports the frames shown and caught per second and the CPU
// time the drawing thread spends per frame shown; the parallel engine
// catches on one thread and converts and draws on another.
//   BM_MemcpyFrame   copying the camera frame once, the peer of the next line
//   BM_ScaleFrame    the window library scaling one frame into the rectangle
//                    (CPU ms per frame, and x_memcpy)
#include <benchmark/benchmark.h>
#include <time.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "ZDQApi.h"
#include "mlusbimager_control.h"
#include "window/PlatWindow.h"

namespace {

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;
constexpr int kWindowWidth = 1000;
constexpr int kWindowHeight = 750;
constexpr size_t kFrameBytes = static_cast<size_t>(kWidth) * kHeight;
constexpr auto kRunTime = std::chrono::seconds(3);

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Counts draws and reads the drawing thread's CPU clock at each: the clock
// at the first and the last draw of a run give the thread's CPU per frame.
struct DrawCounter {
    std::atomic<int> nDrawn{0};
    std::atomic<double> dFirstCpu{0};
    std::atomic<double> dLastCpu{0};

    void Reset() {
        nDrawn = 0;
        dFirstCpu = 0;
        dLastCpu = 0;
    }
};

DrawCounter g_Counter;

void CountingSink(void*, const PlatBitmapInfo*, const void*, int, int, int, int) {
    const double dCpu = ThreadCpuSeconds();
    if (g_Counter.nDrawn++ == 0) {
        g_Counter.dFirstCpu = dCpu;
    }
    g_Counter.dLastCpu = dCpu;
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
    ZDQ_PreviewSetPos(0, window, 0, 0, kWindowWidth, kWindowHeight);
    double dShown = 0, dCaught = 0, dSeconds = 0, dDrawCpu = 0, dDrawFrames = 0;
    for (auto _ : state) {
        int nCaught0 = 0, nShown0 = 0;
        g_Counter.Reset();
        ZDQ_PreviewStartEx(0, true, bParallel);
        ZDQ_GetPreviewFrameCount(0, &nCaught0, &nShown0);
        const int nDrawn0 = g_Counter.nDrawn;
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(kRunTime);
        int nCaught = 0, nShown = 0;
        ZDQ_GetPreviewFrameCount(0, &nCaught, &nShown);
        const int nDrawn = g_Counter.nDrawn;
        const double dElapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ZDQ_PreviewStartEx(0, false, bParallel);
        dShown += nDrawn - nDrawn0;
        dCaught += nCaught - nCaught0;
        dSeconds += dElapsed;
        if (g_Counter.nDrawn > 1) {
            dDrawCpu += g_Counter.dLastCpu - g_Counter.dFirstCpu;
            dDrawFrames += g_Counter.nDrawn - 1;
        }
        state.SetIterationTime(dElapsed);
    }
    platwin_unregister(window);
    state.counters["drawn_per_second"] = dShown / dSeconds;
    state.counters["caught_per_second"] = dCaught / dSeconds;
    if (dDrawFrames > 0) {
        state.counters["draw_thread_cpu_ms_per_frame"] = 1e3 * dDrawCpu / dDrawFrames;
    }
    state.SetLabel(bParallel ? "parallel" : "serial");
}
BENCHMARK(BM_Preview)->Arg(0)->Arg(1)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

double g_dMemcpySeconds = 0;

void BM_MemcpyFrame(benchmark::State& state) {
    std::vector<uint8_t> source(kFrameBytes, 1), target(kFrameBytes);
    const double dStart = ThreadCpuSeconds();
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), kFrameBytes);
        benchmark::ClobberMemory();
    }
    g_dMemcpySeconds = (ThreadCpuSeconds() - dStart) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);

// An 8-bit grey frame with its palette, scaled as the preview draws it.
void BM_ScaleFrame(benchmark::State& state) {
    PlatBitmapInfo info{};
    info.bmiHeader.biSize = sizeof(PlatDibHeader);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 8;
    info.bmiHeader.biCompression = PLAT_BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<uint32_t>(kFrameBytes);
    info.bmiHeader.biClrUsed = 256;
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<uint8_t>(i);
        info.bmiColors[i] = {v, v, v, 0};
    }
    std::vector<uint8_t> frame(kFrameBytes);
    for (size_t i = 0; i < kFrameBytes; ++i) {
        frame[i] = static_cast<uint8_t>(i * 7 + i / kWidth);
    }
    const PlatWindow window = platwin_register(CountingSink, nullptr);
    const double dStart = ThreadCpuSeconds();
    for (auto _ : state) {
        platwin_stretch_dib(window, 0, 0, kWindowWidth, kWindowHeight, 0, 0, kWidth, kHeight,
                            frame.data(), &info);
    }
    const double dPerFrame =
        (ThreadCpuSeconds() - dStart) / static_cast<double>(state.iterations());
    platwin_unregister(window);
    state.counters["cpu_ms_per_frame"] = 1e3 * dPerFrame;
    if (g_dMemcpySeconds > 0) {
        state.counters["x_memcpy"] = dPerFrame / g_dMemcpySeconds;
    }
}
BENCHMARK(BM_ScaleFrame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
