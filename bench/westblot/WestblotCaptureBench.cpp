// One capture picture of the western-blot page on a simulated 2048 x 2048
// cooled camera, without its exposure (the simulator's time scale is 0):
//
//     bench_westblot_capture [benchmark flags]
//
// The steps of a picture as the capture thread takes them: the camera's
// flat field and decode, the inversion of the high bytes, the 3 x 3 median
// and the two 16-bit 600 dpi TIFFs. A memcpy of the raw frame is measured in
// the same run as the peer; the summary prints the picture's steps in
// milliseconds against the budget of 150 ms.
#include <benchmark/benchmark.h>

#include "WestblotBenchSupport.h"
#include "camera/TucsenImageHeader.h"
#include "camera/TucsenPictureFiles.h"
#include "camera/TucsenPictureOps.h"
#include "camera/UncompressedTiff.h"

#include <CamCore.h>
#include <CamCore_control.h>

#include <QTemporaryDir>
#include <QTime>
#include <opencv2/core.hpp>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr double kBudgetMs = 150.0;

std::string g_name;
std::vector<uchar> g_raw;
std::vector<uchar> g_picture;
QString g_folder1;
QString g_folder2;
double g_pictureMs = 0.0;
double g_memcpyMs = 0.0;

void startCamera() {
    camsim_reset("width=2048,height=2048,time_scale=0,scene=bands");
    InitDevice("./");
    g_name = DeviceName(0);
    ResumeDevice(g_name.c_str());
    SetExposure(60000.0f, g_name.c_str());
    const int rawSize = RecvMemSize(g_name.c_str());
    g_raw.resize(static_cast<size_t>(rawSize));
    g_picture.resize(3 * static_cast<size_t>(rawSize));
    GetRawData(g_raw.data(), rawSize, g_name.c_str());
}

void BM_CapturePicture(benchmark::State& state) {
    const std::vector<uchar> frame = g_raw;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(g_raw.data(), frame.data(), frame.size());
        state.ResumeTiming();
        CalcFlatfield(g_raw.data(), 1, g_name.c_str());
        DecodeRaw2Image(g_raw.data(), g_picture.data(), g_name.c_str());
        TucsenPictureOps::invertHighBytes(g_picture.data(), g_picture.size());
        TucsenPictureOps::medianFilter(g_picture.data(), g_picture.size());
        const cv::Mat image = TucsenPictureOps::storedImage(g_picture.data(), g_picture.size());
        const QString name =
            TucsenPictureFiles::freeFileName(g_folder1, g_folder2, QTime::currentTime());
        writeUncompressedTiff(g_folder1 + name, image, 600);
        writeUncompressedTiff(g_folder2 + name, image, 600);
    }
}
BENCHMARK(BM_CapturePicture)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_MemcpyPeer(benchmark::State& state) {
    memcpyPeer(state, g_raw);
}
BENCHMARK(BM_MemcpyPeer)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir folder;
    g_folder1 = folder.path() + QStringLiteral("/Pictures/");
    g_folder2 = folder.path() + QStringLiteral("/storage/");
    startCamera();
    benchmark::Initialize(&argc, argv);
    RealTimeSummary summary({{"BM_CapturePicture", &g_pictureMs}, {"BM_MemcpyPeer", &g_memcpyMs}});
    benchmark::RunSpecifiedBenchmarks(&summary);
    std::printf("capture picture: %.1f ms (budget %.0f ms, %s), %.1f memcpy's of the frame\n",
                g_pictureMs, kBudgetMs, g_pictureMs <= kBudgetMs ? "met" : "missed",
                g_memcpyMs > 0 ? g_pictureMs / g_memcpyMs : 0.0);
    ExitDevice();
    return 0;
}
