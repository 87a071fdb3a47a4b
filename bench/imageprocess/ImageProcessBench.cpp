// Picture steps of the image-processing page on a 2592 x 1944 picture that
// is read from a 16-bit TIFF, as an import would read it.
//
//     bench_imageprocess [benchmark flags]
//
// Each operation runs twice: as a page step through the image frame (picture
// to matrix, operation, back, history entry, view) and as the bare OpenCV
// call on the same matrix. The summary prints each step against its budget,
// the larger of three bare calls and ten memcpy's of the picture, the
// histogram preview, undo and redo in milliseconds, and the memory a 30-step
// history takes.
#include <benchmark/benchmark.h>

#include "BlackWhite.h"
#include "Dyeing.h"
#include "HistogramStretch.h"
#include "ImageProcess_ImageFrame.h"
#include "Inversion.h"
#include "MatConversion.h"
#include "MedianFilter.h"
#include "PictureFiles.h"
#include "PseudoColour.h"
#include "camera/ZdqCameraCtrl.h"
#include "controller/CI_MainControl.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;
// Steps taken before the history is reset (outside the timing).
constexpr int kStepsPerHistory = 8;

QImage g_picture;           // the working RGB32 picture
std::vector<uchar> g_grey;  // its grey, as a gel/UV capture record
ImageProcess_ImageFrame* g_frame = nullptr;

// Reads the picture from a 16-bit grey TIFF written for the run.
void preparePicture(const QString& folder) {
    cv::Mat sixteen(kHeight, kWidth, CV_16UC1);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = sixteen.ptr<uint16_t>(y);
        for (int x = 0; x < kWidth; ++x) {
            row[x] = static_cast<uint16_t>((x * 37 + y * 91 + (x * y) % 1013) * 7);
        }
    }
    const QString path = folder + QStringLiteral("/bench16.tif");
    cv::imwrite(path.toStdString(), sixteen);
    const imageops::LoadResult loaded = imageops::loadPicture(path);
    if (loaded.error != imageops::LoadError::None) {
        std::fprintf(stderr, "the 16-bit TIFF could not be read\n");
        std::exit(1);
    }
    g_picture = loaded.picture;
    g_grey.resize(static_cast<size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(g_picture.constScanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            g_grey[static_cast<size_t>(y) * kWidth + x] = static_cast<uchar>(qGreen(row[x]));
        }
    }
}

void enterFrame() {
    ZdqCameraCtrl* camera = ZdqCameraCtrl::getInstance();
    camera->frameBuffer = g_grey.data();
    camera->frameWidth = kWidth;
    camera->frameHeight = kHeight;
    CI_MainControl::getInstance()->expType = 0;
    g_frame->enterIPFrameHandle();
    g_frame->origialClickHandle();
}

struct Operation {
    const char* name;
    void (ImageProcess_ImageFrame::*slot)();
    std::function<void(const cv::Mat&, cv::Mat&)> bare;
};

const cv::Mat& dyeTable() {
    static const cv::Mat table = imageops::dyeingTable(QColor(200, 30, 60));
    return table;
}

const std::vector<Operation>& operations() {
    static const std::vector<Operation> list = {
        {"inversion", &ImageProcess_ImageFrame::inverseClickHandle,
         [](const cv::Mat& in, cv::Mat& out) { cv::bitwise_not(in, out); }},
        {"median", &ImageProcess_ImageFrame::medianClickHandle,
         [](const cv::Mat& in, cv::Mat& out) { cv::medianBlur(in, out, 3); }},
        {"blackAndWhite", &ImageProcess_ImageFrame::bwClickHandle,
         [](const cv::Mat& in, cv::Mat& out) {
             cv::Mat grey;
             cv::cvtColor(in, grey, cv::COLOR_RGB2GRAY);
             cv::cvtColor(grey, out, cv::COLOR_GRAY2BGR);
         }},
        {"pseudoColour", &ImageProcess_ImageFrame::pseudoClickHandle,
         [](const cv::Mat& in, cv::Mat& out) {
             cv::Mat grey;
             cv::cvtColor(in, grey, cv::COLOR_RGB2GRAY);
             cv::applyColorMap(grey, out, cv::COLORMAP_JET);
         }},
    };
    return list;
}

void BM_Bare(benchmark::State& state, const Operation* op) {
    const cv::Mat in = imageops::imageToMat(g_picture);
    cv::Mat out;
    for (auto _ : state) {
        op->bare(in, out);
        benchmark::DoNotOptimize(out.data);
    }
}

void BM_Step(benchmark::State& state, const Operation* op) {
    enterFrame();
    int steps = 0;
    for (auto _ : state) {
        (g_frame->*(op->slot))();
        if (++steps == kStepsPerHistory) {
            state.PauseTiming();
            g_frame->resetClickHandle();
            steps = 0;
            state.ResumeTiming();
        }
    }
}

void BM_BareDye(benchmark::State& state) {
    const cv::Mat in = imageops::imageToMat(g_picture);
    cv::Mat grey;
    cv::Mat out;
    for (auto _ : state) {
        cv::cvtColor(in, grey, cv::COLOR_BGR2GRAY);
        cv::applyColorMap(grey, out, dyeTable());
        benchmark::DoNotOptimize(out.data);
    }
}

// The dyeing step without its colour dialog: the page step's conversions,
// table and history entry (the frame's own step also makes the view).
void BM_StepDye(benchmark::State& state) {
    for (auto _ : state) {
        const cv::Mat mat = imageops::imageToMat(g_picture);
        QImage result = imageops::matToImage(imageops::dye(mat, dyeTable()));
        std::vector<QImage> history{g_picture, result};
        benchmark::DoNotOptimize(history.data());
    }
}

void BM_Memcpy(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(g_picture.sizeInBytes());
    std::vector<uchar> target(bytes);
    for (auto _ : state) {
        std::memcpy(target.data(), g_picture.constBits(), bytes);
        benchmark::ClobberMemory();
    }
}

void BM_StretchPreview(benchmark::State& state) {
    enterFrame();
    g_frame->histogramClickHandle();
    int low = 10;
    for (auto _ : state) {
        g_frame->updateHistoedHandle(low, 200);
        low = low == 10 ? 11 : 10;
    }
    g_frame->toolsFrameHideHandle();
}

void BM_UndoRedo(benchmark::State& state, bool undo) {
    enterFrame();
    for (int i = 0; i < 10; ++i) {
        g_frame->inverseClickHandle();
    }
    for (auto _ : state) {
        if (undo) {
            g_frame->undoClickHandle();
            state.PauseTiming();
            g_frame->redoClickHandle();
            state.ResumeTiming();
        } else {
            state.PauseTiming();
            g_frame->undoClickHandle();
            state.ResumeTiming();
            g_frame->redoClickHandle();
        }
    }
}

// Real times in milliseconds by benchmark name.
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                ms[run.benchmark_name()] = run.GetAdjustedRealTime() /
                                           benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> ms;
};

long statusKilobytes(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key)) {
            return line.mid(static_cast<int>(std::strlen(key)))
                .trimmed()
                .split(' ')
                .first()
                .toLong();
        }
    }
    return -1;
}

void reportHistoryMemory() {
    enterFrame();
    const long before = statusKilobytes("VmRSS:");
    for (int i = 0; i < 30; ++i) {
        g_frame->inverseClickHandle();
    }
    const long after = statusKilobytes("VmRSS:");
    std::printf(
        "30-step history: %d entries, resident memory %+ld MB (%.1f MB a picture); peak "
        "resident %ld MB\n",
        g_frame->historySize(), (after - before) / 1024,
        g_picture.sizeInBytes() / (1024.0 * 1024.0), statusKilobytes("VmHWM:") / 1024);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir station;
    qputenv("VARNU_HOME", station.path().toLocal8Bit());
    QApplication app(argc, argv);
    preparePicture(station.path());
    ImageProcess_ImageFrame frame;
    frame.resize(1000, 800);
    frame.show();
    g_frame = &frame;

    for (const Operation& op : operations()) {
        benchmark::RegisterBenchmark((std::string("bare/") + op.name).c_str(), BM_Bare, &op)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("step/") + op.name).c_str(), BM_Step, &op)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("bare/dyeing", BM_BareDye)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("step/dyeing", BM_StepDye)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("memcpy", BM_Memcpy)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("stretchPreview", BM_StretchPreview)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("undo", BM_UndoRedo, true)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("redo", BM_UndoRedo, false)->Unit(benchmark::kMillisecond);

    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const auto& ms = reporter.ms;
    const auto time = [&ms](const std::string& name) {
        const auto it = ms.find(name);
        return it == ms.end() ? -1.0 : it->second;
    };
    std::printf("\npicture %dx%d, memcpy %.2f ms\n", kWidth, kHeight, time("memcpy"));
    std::printf("%-14s %9s %9s %9s %8s %8s\n", "step", "step ms", "bare ms", "budget", "x bare",
                "x budget");
    for (const char* name : {"inversion", "median", "blackAndWhite", "pseudoColour", "dyeing"}) {
        const double step = time(std::string("step/") + name);
        const double bare = time(std::string("bare/") + name);
        const double budget = std::max(3 * bare, 10 * time("memcpy"));
        std::printf("%-14s %9.2f %9.2f %9.2f %8.2f %8.2f\n", name, step, bare, budget, step / bare,
                    step / budget);
    }
    std::printf("stretch preview %.2f ms (goal 15), undo %.2f ms, redo %.2f ms (goal 20)\n",
                time("stretchPreview"), time("undo"), time("redo"));
    reportHistoryMemory();
    benchmark::Shutdown();
    return 0;
}
