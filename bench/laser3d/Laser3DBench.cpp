// The 3D laser-profile family, the simulated laser camera in instant mode:
//   BM_Profiles       acquisition with a 2048-wide ROI of 256 rows and all
//                     five callbacks registered (empty bodies): profiles a
//                     second; counts the trigger signals lost on the way
//   BM_CaptureFrames  plain captures of the same window, the peer: frames a
//                     second the camera and the SDK's catching give
//   BM_SavePcd        one ZDQ3D_HelperSaveToPCD of 2048 x 800 points
//   BM_WriteText      writing the same number of bytes in one fwrite, the
//                     peer of the save
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "mlusbimager_control.h"
#include "platform/WideText.h"

namespace {

constexpr int kRoiWidth = 2048;
constexpr int kRoiHeight = 256;
constexpr int kCloudProfiles = 800;

std::atomic<long> g_profiles{0};
std::atomic<long> g_lost{0};

void OnImage(int, unsigned char*, int, int, int, void*) {}
void OnProfile(int, int, double, int, int*, float*, int nLost, void*) {
    g_profiles.fetch_add(1, std::memory_order_relaxed);
    g_lost.fetch_add(nLost, std::memory_order_relaxed);
}
void OnCloud(int, int, int, int*, float*, float*, int, void*) {}

// The laser camera in 3D mode with the benchmark's ROI, once for the run.
CDevice* LaserCamera() {
    static CDevice* pDevice = [] {
        MlSimProfile profile;
        mlsim_profile_default(53, &profile);  // monochrome, memory kind 1
        profile.fpga_version = 0x0605;        // the FPGA with the frame header
        profile.content = MLSIM_CONTENT_LASER;
        profile.timing = MLSIM_TIMING_INSTANT;
        mlsim_plug(0, &profile);
        if (ZDQ3D_Inital() != RET_SUCCESS ||
            ZDQ3D_SetRoi(0, 0, 0, kRoiWidth, kRoiHeight) != RET_SUCCESS) {
            return static_cast<CDevice*>(nullptr);
        }
        ZDQ3D_Set3DLaserLineBrightnessThreshold(0, 100);
        ZDQ3D_RegisterLiveImageCB(0, OnImage, nullptr);
        ZDQ3D_RegisterProfileDataCB(0, OnProfile, nullptr);
        ZDQ3D_RegisterProfileImageCB(0, OnImage, nullptr);
        ZDQ3D_RegisterPointCloudDataCB(0, OnCloud, nullptr);
        ZDQ3D_RegisterPointCloudImageCB(0, OnImage, nullptr);
        return FrameGetDevice(0);
    }();
    return pDevice;
}

void BM_Profiles(benchmark::State& state) {
    if (LaserCamera() == nullptr) {
        state.SkipWithError("no laser camera");
        return;
    }
    const long nPerIteration = 2000;
    g_lost = 0;
    ZDQ3D_StartAcquisition(0);
    long nDone = g_profiles.load();
    for (auto _ : state) {
        const long nTarget = nDone + nPerIteration;
        while (g_profiles.load() < nTarget) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        nDone = nTarget;
    }
    ZDQ3D_StopAcquisition(0);
    state.SetItemsProcessed(state.iterations() * nPerIteration);
    state.counters["lost_signals"] = static_cast<double>(g_lost.load());
}
BENCHMARK(BM_Profiles)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void BM_CaptureFrames(benchmark::State& state) {
    if (LaserCamera() == nullptr) {
        state.SkipWithError("no laser camera");
        return;
    }
    std::vector<uint8_t> frame(static_cast<size_t>(kRoiWidth) * kRoiHeight);
    for (auto _ : state) {
        if (ZDQ_CaptureRawData(0, frame.data()) != RET_SUCCESS) {
            state.SkipWithError("capture failed");
            break;
        }
        benchmark::DoNotOptimize(frame.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CaptureFrames)->Unit(benchmark::kMillisecond)->UseRealTime();

struct Cloud {
    std::vector<float> x, y, z;
    Cloud() {
        const size_t n = static_cast<size_t>(kRoiWidth) * kCloudProfiles;
        x.resize(n);
        y.resize(n);
        z.resize(n);
        for (size_t i = 0; i < n; ++i) {
            x[i] = (i % 97 == 0) ? -1000.0f : static_cast<float>(i % kRoiWidth);
            y[i] = static_cast<float>(i / kRoiWidth) * 0.05f;
            z[i] = static_cast<float>(i % 1024) * 0.0123f;
        }
    }
};

std::string BenchFile(const char* name) {
    return std::string("/tmp/") + name + std::to_string(getpid());
}

void BM_SavePcd(benchmark::State& state) {
    static Cloud cloud;
    const std::string path = BenchFile("bench_laser3d_cloud.pcd");
    const std::wstring wide = plat::WideFromUtf8(path);
    for (auto _ : state) {
        if (ZDQ3D_HelperSaveToPCD(kRoiWidth, kCloudProfiles, cloud.x.data(), cloud.y.data(),
                                  cloud.z.data(), wide.c_str()) != RET_SUCCESS) {
            state.SkipWithError("save failed");
            break;
        }
    }
    std::FILE* pFile = std::fopen(path.c_str(), "rb");
    long nBytes = 0;
    if (pFile != nullptr) {
        std::fseek(pFile, 0, SEEK_END);
        nBytes = std::ftell(pFile);
        std::fclose(pFile);
    }
    std::remove(path.c_str());
    state.counters["file_MB"] = static_cast<double>(nBytes) / 1e6;
}
BENCHMARK(BM_SavePcd)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteText(benchmark::State& state) {
    const std::string path = BenchFile("bench_laser3d_text.txt");
    // About the size of the PCD file of the save above.
    const std::string text(static_cast<size_t>(kRoiWidth) * kCloudProfiles * 27, 'x');
    for (auto _ : state) {
        std::FILE* pFile = std::fopen(path.c_str(), "wb");
        if (pFile == nullptr || std::fwrite(text.data(), 1, text.size(), pFile) != text.size()) {
            state.SkipWithError("write failed");
        }
        if (pFile != nullptr) {
            std::fclose(pFile);
        }
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_WriteText)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
