// Times the colour steps of the SDK on a 2592 x 1944 24-bit frame: the
// white-balance tables, the colour-correct tables, the software matrix (the
// three together are the table-and-matrix budget), the process saturation
// and hue-saturation look-ups, the calibration map, the whole chain, one
// cube rebuild, and a memcpy of the frame. The tables and the matrix
// together run as the device runs them, in one pass. Each step's counter
// "x_memcpy" is its time over the memcpy's. The SDK's own share of a colour
// preview frame (demosaicing and the colour chain) is timed alone; the last
// benchmark runs a colour preview of a simulated 2592 x 1944 camera (instant
// frames, parallel engine) with every software step on and reports frames
// per second.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "ZDQApi.h"
#include "acquisition/CalibrationMap.h"
#include "acquisition/ColourAdjustments.h"
#include "acquisition/ColourCorrectTables.h"
#include "acquisition/ColourMatrix.h"
#include "acquisition/FrameWorkers.h"
#include "acquisition/RgbTablePass.h"
#include "acquisition/WhiteBalance.h"
#include "api/ExportFrame.h"
#include "mlusbimager_control.h"

namespace {

constexpr int kWidth = 2592, kHeight = 1944;
constexpr size_t kBytes = static_cast<size_t>(kWidth) * kHeight * 3;

// A camera without an FPGA: the software steps only.
class SoftwareCamera final : public IColourCamera {
  public:
    int FpgaWhiteBalanceOff() override { return RET_NOTSUPPORT; }
    int FpgaWhiteBalancePreset(int) override { return RET_NOTSUPPORT; }
    int FpgaWhiteBalanceAuto(bool) override { return RET_NOTSUPPORT; }
    int FpgaWhiteBalanceWriteGains(const float*) override { return RET_NOTSUPPORT; }
    int FpgaWhiteBalanceReadGains(float*) override { return RET_NOTSUPPORT; }
    int FpgaMatrixOff() override { return RET_NOTSUPPORT; }
    int FpgaMatrixPreset(int) override { return RET_NOTSUPPORT; }
    int FpgaMatrixWrite(const float*) override { return RET_NOTSUPPORT; }
    int FpgaMatrixRead(float*) override { return RET_NOTSUPPORT; }
    int GetColourGain(int, int*) override { return RET_NOTSUPPORT; }
    int SetColourGain(int, int) override { return RET_NOTSUPPORT; }
    CLog* ColourLog() override { return nullptr; }
};

struct Steps {
    SoftwareCamera camera;
    CColourCorrectTables tables;
    CWhiteBalance whiteBalance{camera, tables};
    CColourMatrix matrix{camera};
    CProcessSaturation saturation;
    CHueSaturation hueSaturation;
    CCalibrationMap map;
    CFrameWorkers workers;
    std::vector<uint8_t> source = std::vector<uint8_t>(kBytes);
    std::vector<uint8_t> frame = std::vector<uint8_t>(kBytes);

    Steps() {
        std::mt19937 random(7);
        for (uint8_t& b : source) {
            b = static_cast<uint8_t>(random());
        }
        whiteBalance.Init(ColourGroup::Family2592, false, 0, kWidth, kHeight);
        whiteBalance.SetMode(1);
        tables.Set(1, 180, 180, 180);
        tables.SetShift(0, 5);
        matrix.Init(ColourGroup::Family2592, 0);
        matrix.SetMode(1);
        saturation.Set(40);
        hueSaturation.SetEnable(true);
        hueSaturation.Set(0, 30, 0, 0);
        const float fModel[14] = {
            2000, 0, 1296, 0, 2000, 972, 0, 0, 1, -0.1f, 0, 0, 0, 0,
        };
        map.BuildFromModel(fModel, kWidth, kHeight);
        map.SetCapture(true);
        // The cubes are built once here.
        hueSaturation.Apply(frame.data(), 1, 1, 24);
        saturation.Apply(frame.data(), 1, 1, 24);
        whiteBalance.WhiteBalanceStep(frame.data(), 1, 1, 24);
    }
};

Steps& TheSteps() {
    static Steps steps;
    return steps;
}

double g_dMemcpySeconds = 0;

template <typename Step>
void RunStep(benchmark::State& state, Step step) {
    Steps& s = TheSteps();
    double dTotal = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(s.frame.data(), s.source.data(), kBytes);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        step(s);
        dTotal += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(s.frame.data());
    }
    if (g_dMemcpySeconds > 0 && state.iterations() > 0) {
        state.counters["x_memcpy"] =
            dTotal / static_cast<double>(state.iterations()) / g_dMemcpySeconds;
    }
}

void BM_Memcpy(benchmark::State& state) {
    Steps& s = TheSteps();
    double dTotal = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::memcpy(s.frame.data(), s.source.data(), kBytes);
        benchmark::ClobberMemory();
        dTotal += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    g_dMemcpySeconds = dTotal / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

void BM_WhiteBalanceTables(benchmark::State& state) {
    RunStep(state, [](Steps& s) {
        s.whiteBalance.WhiteBalanceStep(s.frame.data(), kWidth, kHeight, 24, &s.workers);
    });
}
BENCHMARK(BM_WhiteBalanceTables)->Unit(benchmark::kMillisecond);

void BM_ColourCorrectTables(benchmark::State& state) {
    RunStep(state,
            [](Steps& s) { s.tables.Apply(s.frame.data(), kWidth, kHeight, 24, &s.workers); });
}
BENCHMARK(BM_ColourCorrectTables)->Unit(benchmark::kMillisecond);

void BM_SoftwareMatrix(benchmark::State& state) {
    RunStep(state,
            [](Steps& s) { s.matrix.Apply(s.frame.data(), kWidth, kHeight, 24, &s.workers); });
}
BENCHMARK(BM_SoftwareMatrix)->Unit(benchmark::kMillisecond);

// The white-balance tables, the colour-correct tables and the matrix as the
// device runs them: the two table sets composed, then one pass with the
// matrix.
void TablesAndMatrix(Steps& s) {
    RgbTables tables;
    const bool bBalance = s.whiteBalance.TablesStep(s.frame.data(), kWidth, kHeight, 24, tables);
    const bool bTables = s.tables.ComposeOnto(tables, bBalance);
    float fMatrix[9];
    const bool bMatrix = s.matrix.SoftwareMatrix(fMatrix);
    ApplyTablesAndMatrix(s.frame.data(), static_cast<size_t>(kWidth) * kHeight, 3,
                         bTables ? &tables : nullptr, bMatrix ? fMatrix : nullptr, &s.workers);
}

void BM_TablesAndMatrix(benchmark::State& state) {
    RunStep(state, TablesAndMatrix);
}
BENCHMARK(BM_TablesAndMatrix)->Unit(benchmark::kMillisecond);

void BM_ProcessSaturation(benchmark::State& state) {
    RunStep(state,
            [](Steps& s) { s.saturation.Apply(s.frame.data(), kWidth, kHeight, 24, &s.workers); });
}
BENCHMARK(BM_ProcessSaturation)->Unit(benchmark::kMillisecond);

void BM_HueSaturation(benchmark::State& state) {
    RunStep(state, [](Steps& s) {
        s.hueSaturation.Apply(s.frame.data(), kWidth, kHeight, 24, &s.workers);
    });
}
BENCHMARK(BM_HueSaturation)->Unit(benchmark::kMillisecond);

void BM_CalibrationMap(benchmark::State& state) {
    RunStep(state,
            [](Steps& s) { s.map.ApplyRgb(s.frame.data(), kWidth, kHeight, 24, &s.workers); });
}
BENCHMARK(BM_CalibrationMap)->Unit(benchmark::kMillisecond);

void BM_WholeChain(benchmark::State& state) {
    RunStep(state, [](Steps& s) {
        TablesAndMatrix(s);
        s.saturation.Apply(s.frame.data(), kWidth, kHeight, 24, &s.workers);
        s.hueSaturation.Apply(s.frame.data(), kWidth, kHeight, 24, &s.workers);
        s.map.ApplyRgb(s.frame.data(), kWidth, kHeight, 24, &s.workers);
    });
}
BENCHMARK(BM_WholeChain)->Unit(benchmark::kMillisecond);

void BM_CubeRebuild(benchmark::State& state) {
    Steps& s = TheSteps();
    int nHue = 0;
    for (auto _ : state) {
        s.hueSaturation.Set(0, ++nHue % 180, 0, 0);
        s.hueSaturation.Apply(s.frame.data(), 1, 1, 24);
    }
}
BENCHMARK(BM_CubeRebuild)->Unit(benchmark::kMillisecond)->Iterations(3);

// The SDK's share of a colour preview frame: demosaicing and the colour
// chain with every software step on, on a frame of the chart caught once,
// without the simulator's synthesis of each frame. Frames a second = 1 / time.
void BM_ColourFrameInTheSdk(benchmark::State& state) {
    MlSimProfile profile;
    mlsim_profile_default(41, &profile);
    profile.content = MLSIM_CONTENT_CHART;
    mlsim_unplug_all();
    mlsim_plug(0, &profile);
    CDevice* pDevice = ZDQ_Init() == RET_SUCCESS ? FrameGetDevice(0) : nullptr;
    std::vector<uint8_t> raw(static_cast<size_t>(kWidth) * kHeight), rgb(kBytes);
    if (pDevice == nullptr ||
        ZDQ_CaptureSetFieldOfView(0, 0, 0, kWidth, kHeight, 0, 0) != RET_SUCCESS ||
        ZDQ_CaptureRawData(0, raw.data()) != RET_SUCCESS) {
        state.SkipWithError("no camera");
        return;
    }
    ZDQ_WhiteBalanceSet(0, 1);
    ZDQ_ColorCorrectSet(0, 1, 180, 180, 180);
    ZDQ_ColorCorrectionSet(0, 1);
    ZDQ_ProcessSaturationSet(0, 40);
    ZDQ_HueSaturationSetEnable(0, true);
    pDevice->RawToRgb(raw.data(), kWidth, kHeight, 24, rgb.data(), true);  // the cubes are built
    for (auto _ : state) {
        pDevice->RawToRgb(raw.data(), kWidth, kHeight, 24, rgb.data(), true);
        benchmark::DoNotOptimize(rgb.data());
    }
    state.counters["frames_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    ZDQ_UnInit();
    mlsim_unplug_all();
}
BENCHMARK(BM_ColourFrameInTheSdk)->Unit(benchmark::kMillisecond)->UseRealTime();

std::atomic<int> g_nShown{0};
void CountShown(unsigned char*, int, int, int, void*) {
    ++g_nShown;
}

// A colour preview of the whole 2592 x 1944 frame, every software step on.
void BM_ColourPreviewFramesPerSecond(benchmark::State& state) {
    MlSimProfile profile;
    mlsim_profile_default(41, &profile);
    profile.content = MLSIM_CONTENT_CHART;
    mlsim_unplug_all();
    mlsim_plug(0, &profile);
    if (ZDQ_Init() != RET_SUCCESS) {
        state.SkipWithError("no camera");
        return;
    }
    ZDQ_PreviewSetCallback(0, CountShown, nullptr);
    ZDQ_WhiteBalanceSet(0, 1);
    ZDQ_ColorCorrectSet(0, 1, 180, 180, 180);
    ZDQ_ColorCorrectionSet(0, 1);
    ZDQ_ProcessSaturationSet(0, 40);
    ZDQ_HueSaturationSetEnable(0, true);
    ZDQ_PreviewStartEx(0, true, true);
    std::this_thread::sleep_for(std::chrono::seconds(2));  // the cubes are built
    for (auto _ : state) {
        const int nStart = g_nShown;
        std::this_thread::sleep_for(std::chrono::seconds(3));
        state.counters["frames_per_s"] = (g_nShown - nStart) / 3.0;
    }
    ZDQ_PreviewStartEx(0, false, true);
    ZDQ_UnInit();
    mlsim_unplug_all();
}
BENCHMARK(BM_ColourPreviewFramesPerSecond)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
