// Still capture of a 2592 x 1944 8-bit monochrome frame with the station's
// settings (contrast 10, brightness 25, gamma 0), the simulated camera in
// instant mode:
//   BM_CaptureRawData     whole captures through the exported call
//   BM_RawPostProcess     the SDK's processing of one caught frame, with
//                         the sensor flipping (the station's camera) or
//                         with flip and mirror done in software
//   BM_MemcpyFrame        copying the frame once, the peer to compare with
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "capability/DeviceCapability.h"
#include "mlusbimager_control.h"

namespace {

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;
constexpr size_t kFrameBytes = static_cast<size_t>(kWidth) * kHeight;

// One opened camera with the station's settings for the whole run.
CDevice* StationCamera() {
    static CDevice* pDevice = [] {
        MlSimProfile profile;
        mlsim_profile_default(9, &profile);  // monochrome 2592 x 1944
        profile.timing = MLSIM_TIMING_INSTANT;
        mlsim_plug(0, &profile);
        ZDQ_Init();
        ZDQ_SetParam(0, ZDQ_EXPOSURE, 300);
        ZDQ_SetParam(0, ZDQ_RED, 8);
        ZDQ_SetParam(0, ZDQ_CONTRAST, 10);
        ZDQ_SetParam(0, ZDQ_BRIGHTNESS, 25);
        ZDQ_SetParam(0, ZDQ_GAMMA, 0);
        ZDQ_CaptureSetFieldOfView(0, 0, 0, kWidth, kHeight, 0, 0);
        return FrameGetDevice(0);
    }();
    return pDevice;
}

void BM_CaptureRawData(benchmark::State& state) {
    if (StationCamera() == nullptr) {
        state.SkipWithError("no camera");
        return;
    }
    std::vector<uint8_t> frame(kFrameBytes);
    for (auto _ : state) {
        if (ZDQ_CaptureRawData(0, frame.data()) != RET_SUCCESS) {
            state.SkipWithError("capture failed");
            break;
        }
        benchmark::DoNotOptimize(frame.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFrameBytes));
}
BENCHMARK(BM_CaptureRawData)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RawPostProcess(benchmark::State& state) {
    CDevice* pDevice = StationCamera();
    if (pDevice == nullptr) {
        state.SkipWithError("no camera");
        return;
    }
    const bool bSoftware = state.range(0) != 0;
    DeviceCapability& cap = pDevice->Capability();
    const bool bFlipBit = cap.Has(SensorCap::bmFlip), bMirrorBit = cap.Has(SensorCap::bmMirror);
    if (bSoftware) {
        cap.Set(SensorCap::bmFlip, 0);
        cap.Set(SensorCap::bmMirror, 0);
        pDevice->SensorSetMirror(true);
    }
    std::vector<uint8_t> frame(kFrameBytes);
    for (size_t i = 0; i < kFrameBytes; ++i) {
        frame[i] = static_cast<uint8_t>(i * 7);
    }
    for (auto _ : state) {
        pDevice->RawPostProcess(frame.data(), kWidth, kHeight, kFrameBytes);
        benchmark::DoNotOptimize(frame.data());
    }
    if (bSoftware) {
        pDevice->SensorSetMirror(false);
        cap.Set(SensorCap::bmFlip, bFlipBit);
        cap.Set(SensorCap::bmMirror, bMirrorBit);
    }
    state.SetLabel(bSoftware ? "flip and mirror in software" : "sensor flips");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFrameBytes));
}
BENCHMARK(BM_RawPostProcess)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MemcpyFrame(benchmark::State& state) {
    std::vector<uint8_t> source(kFrameBytes, 1), target(kFrameBytes);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), kFrameBytes);
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFrameBytes));
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
