// Still capture of a 2592 x 1944 8-bit monochrome frame with the station's
// settings (contrast 10, brightness 25, gamma 0), the simulated camera in
// instant mode:
//   BM_MemcpyFrame        copying the frame once, the peer to compare with
//   BM_CaptureRawData     whole captures through the exported call
//   BM_RawPostProcess     the SDK's processing of one caught frame, with
//                         the sensor flipping (the station's camera) or
//                         with flip and mirror done in software
//   BM_TableLookUp        the contrast, brightness and gamma table alone,
//                         on the widest vector path and on the scalar one
//   BM_Pack16To8          16-bit samples of the frame packed to bytes by a
//                         shift or through the 4096-entry table, widest
//                         vector path and scalar (x_memcpy: the 8-bit frame)
// Each line that works on the frame prints its time as a multiple of a
// memcpy of the frame measured first in the same run (x_memcpy).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "MemcpyPeer.h"
#include "ZDQApi.h"
#include "acquisition/BytePasses.h"
#include "acquisition/ProcessTables.h"
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

double g_dMemcpySeconds = 0;

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void ReportAgainstMemcpy(benchmark::State& state, double dTotalSeconds) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFrameBytes));
    if (g_dMemcpySeconds > 0 && state.iterations() > 0) {
        state.counters["x_memcpy"] =
            dTotalSeconds / static_cast<double>(state.iterations()) / g_dMemcpySeconds;
    }
}

void BM_MemcpyFrame(benchmark::State& state) {
    g_dMemcpySeconds = MeasureMemcpy(state, kFrameBytes);
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);

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
    double dTotal = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        pDevice->RawPostProcess(frame.data(), kWidth, kHeight, kFrameBytes);
        benchmark::ClobberMemory();
        dTotal += Seconds(start);
    }
    if (bSoftware) {
        pDevice->SensorSetMirror(false);
        cap.Set(SensorCap::bmFlip, bFlipBit);
        cap.Set(SensorCap::bmMirror, bMirrorBit);
    }
    state.SetLabel(bSoftware ? "flip and mirror in software" : "sensor flips");
    ReportAgainstMemcpy(state, dTotal);
}
BENCHMARK(BM_RawPostProcess)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The station's table (contrast 10, brightness 25) over the frame.
void BM_TableLookUp(benchmark::State& state) {
    const EVectorPath path = state.range(0) != 0 ? WidestVectorPath() : EVectorPath::Scalar;
    const auto contrast = CProcessTables::ContrastTable(10);
    const auto brightness = CProcessTables::BrightnessTable(25);
    ByteTable table;
    for (int i = 0; i < 256; ++i) {
        table[i] = brightness[contrast[i]];
    }
    std::vector<uint8_t> frame(kFrameBytes);
    for (size_t i = 0; i < kFrameBytes; ++i) {
        frame[i] = static_cast<uint8_t>(i * 7);
    }
    double dTotal = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        LookUpBytes(table, frame.data(), kFrameBytes, path);
        benchmark::ClobberMemory();
        dTotal += Seconds(start);
    }
    state.SetLabel(path == EVectorPath::Avx2    ? "AVX2"
                   : path == EVectorPath::Ssse3 ? "SSSE3"
                                                : "scalar");
    ReportAgainstMemcpy(state, dTotal);
}
BENCHMARK(BM_TableLookUp)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_Pack16To8(benchmark::State& state) {
    const bool bTable = state.range(0) != 0;
    const EVectorPath path = state.range(1) != 0 ? WidestVectorPath() : EVectorPath::Scalar;
    std::vector<uint8_t> table(4096);
    for (size_t i = 0; i < table.size(); ++i) {
        table[i] = static_cast<uint8_t>(i * 255 / 4095);
    }
    std::vector<uint16_t> samples(kFrameBytes);
    for (size_t i = 0; i < kFrameBytes; ++i) {
        samples[i] = static_cast<uint16_t>((i * 37) & 0xFFF);
    }
    std::vector<uint8_t> frame(2 * kFrameBytes);
    double dTotal = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(frame.data(), samples.data(), frame.size());
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        if (bTable) {
            PackSamplesThroughTable(frame.data(), kFrameBytes, table.data(), 4096, path);
        } else {
            PackSamplesShifted(frame.data(), kFrameBytes, 4, path);
        }
        benchmark::ClobberMemory();
        dTotal += Seconds(start);
    }
    state.SetLabel(std::string(bTable ? "table, " : "shift, ") + (path == EVectorPath::Avx2 ? "AVX2"
                                                                  : path == EVectorPath::Ssse3
                                                                      ? "SSSE3"
                                                                      : "scalar"));
    ReportAgainstMemcpy(state, dTotal);
}
BENCHMARK(BM_Pack16To8)
    ->Args({0, 1})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
