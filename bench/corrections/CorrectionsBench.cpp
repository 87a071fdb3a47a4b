// The SDK's corrections of a 2592 x 1944 8-bit frame, a simulated camera on
// the flat-field scene in instant mode, on a frame of that scene:
//   BM_MemcpyFrame       copying the frame once, the peer to compare with
//   BM_RawPostChain      the whole raw post chain with software bad-pixel
//                        correction, gamma, contrast and brightness and the
//                        flat field on
//   BM_BadPixels, BM_ProcessTables, BM_FlatField   each step alone, on the
//                        worker pool where the SDK runs it there
// Each counter "x_memcpy" is the step's time over the memcpy's.
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "MemcpyPeer.h"
#include "ZDQApi.h"
#include "acquisition/BadPixelCorrection.h"
#include "acquisition/FlatField.h"
#include "acquisition/FrameWorkers.h"
#include "api/ExportFrame.h"
#include "capability/DeviceCapability.h"
#include "mlusbimager_control.h"

namespace {

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;
constexpr size_t kFrameBytes = static_cast<size_t>(kWidth) * kHeight;

// A frame of the flat-field scene as the camera sends it (vignetting, dark
// pattern, hot pixels), caught before the corrections are switched on.
std::vector<uint8_t>& SceneFrame() {
    static std::vector<uint8_t> frame(kFrameBytes);
    return frame;
}

// One opened camera with every software correction on, for the whole run.
CDevice* CorrectingCamera() {
    static CDevice* pDevice = []() -> CDevice* {
        MlSimProfile profile;
        mlsim_profile_default(32, &profile);  // 2592 x 1944 with an FPGA
        profile.timing = MLSIM_TIMING_INSTANT;
        profile.content = MLSIM_CONTENT_FLAT_FIELD;
        mlsim_plug(0, &profile);
        ZDQ_Init();
        CDevice* pCamera = FrameGetDevice(0);
        if (pCamera == nullptr) {
            return nullptr;
        }
        pCamera->Capability().Set(FpgaCap::bmBadPixelCorrection, 0);
        ZDQ_CaptureSetFieldOfView(0, 0, 0, kWidth, kHeight, 0, 0);
        ZDQ_SetFlatFieldCorrectionFieldOfView(0, 0, 0, kWidth, kHeight, 0, 0, 1);
        ZDQ_ExposureTimeSet(0, 0.05f);
        ZDQ_MakeDarkFrame(0, 1);
        ZDQ_ExposureTimeSet(0, 25.0f);
        ZDQ_MakeFlatFieldFrame(0, 1);
        ZDQ_CaptureRawData(0, SceneFrame().data());
        if (ZDQ_CaptureSetFlatFieldCorrection(0, true) != RET_SUCCESS) {
            return nullptr;
        }
        ZDQ_BadPixelCorrectionSet(0, true, 1);
        ZDQ_GammaSetValue(0, 3);
        ZDQ_ProcessContrastSet(0, 10);
        ZDQ_ProcessBrightnessSet(0, 25);
        return pCamera;
    }();
    return pDevice;
}

double g_dMemcpySeconds = 0;

// Runs step on a fresh copy of the scene frame each iteration and sets the
// step's ratio to the memcpy.
template <typename Step>
void RunStep(benchmark::State& state, std::vector<uint8_t>& frame, Step step) {
    double dTotal = 0;
    for (auto _ : state) {
        state.PauseTiming();
        frame = SceneFrame();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        step(frame.data());
        dTotal += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(frame.data());
    }
    if (g_dMemcpySeconds > 0 && state.iterations() > 0) {
        state.counters["x_memcpy"] =
            dTotal / static_cast<double>(state.iterations()) / g_dMemcpySeconds;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFrameBytes));
}

std::vector<uint8_t> TestFrame() {
    CorrectingCamera();
    return SceneFrame();
}

void BM_MemcpyFrame(benchmark::State& state) {
    g_dMemcpySeconds = MeasureMemcpy(state, kFrameBytes);
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);

void BM_RawPostChain(benchmark::State& state) {
    CDevice* pDevice = CorrectingCamera();
    if (pDevice == nullptr) {
        state.SkipWithError("no camera");
        return;
    }
    std::vector<uint8_t> frame = TestFrame();
    plat::CriticalSectionLock rawPost(pDevice->RawPostLock());
    RunStep(state, frame, [&](uint8_t* pFrame) {
        pDevice->RawPostProcess(pFrame, kWidth, kHeight, kFrameBytes);
    });
}
BENCHMARK(BM_RawPostChain)->Unit(benchmark::kMillisecond);

CFrameWorkers& Workers() {
    static CFrameWorkers workers;
    return workers;
}

void BM_BadPixels(benchmark::State& state) {
    std::vector<uint8_t> frame = TestFrame();
    RunStep(state, frame, [](uint8_t* pFrame) {
        CorrectBadPixels(pFrame, kWidth, kHeight, BadPixelThresholds{}, &Workers());
    });
}
BENCHMARK(BM_BadPixels)->Unit(benchmark::kMillisecond);

void BM_ProcessTables(benchmark::State& state) {
    CProcessTables tables;
    tables.SetGamma(3);
    tables.SetContrast(10);
    tables.SetBrightness(25);
    std::vector<uint8_t> frame = TestFrame();
    RunStep(state, frame, [&](uint8_t* pFrame) { tables.Apply(pFrame, kFrameBytes); });
}
BENCHMARK(BM_ProcessTables)->Unit(benchmark::kMillisecond);

void BM_FlatField(benchmark::State& state) {
    CFlatFieldFrames flat;
    std::vector<uint8_t> dark(kFrameBytes, 8), bright(kFrameBytes);
    for (size_t i = 0; i < kFrameBytes; ++i) {
        bright[i] = static_cast<uint8_t>(100 + (i % 97));
    }
    flat.SetDark(std::move(dark));
    flat.SetFlat(std::move(bright));
    flat.MakeGain();
    std::vector<uint8_t> frame = TestFrame();
    RunStep(state, frame, [&](uint8_t* pFrame) { flat.Apply(pFrame, kFrameBytes, &Workers()); });
}
BENCHMARK(BM_FlatField)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
