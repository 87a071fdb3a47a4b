// The histogram tool of the image-processing page on a 2592 x 1944 picture.
//
//     bench_histogram_tool [benchmark flags]
//
// Three goals, each printed against its limit: the grey histogram of the
// picture (at most 10 ms; also against OpenCV's grey conversion and
// calcHist measured in the same run), a slider release to the stretched
// picture painted on screen (at most 30 ms), and the chart frame taking and
// drawing a curve of 65,536 points (at most 50 ms; OpenGL draws it where
// the platform offers a context, else the raster painter). A frame's first
// curve also creates its OpenGL context and shaders; it is timed apart.
#include <benchmark/benchmark.h>

#include "GreyHistogram.h"
#include "HistogramAdjustToolFrame.h"
#include "ImageProcessFrame.h"
#include "ImageProcessLabel.h"
#include "ImageProcess_FuncsFrame.h"
#include "ImageProcess_ImageFrame.h"
#include "SQ_ChartFrame.h"
#include "camera/ZdqCameraCtrl.h"
#include "widgets/MySlider.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <opencv2/imgproc.hpp>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;
constexpr int kChartPoints = 65536;

QImage g_picture;
std::vector<uchar> g_grey;

// A colour picture whose grey levels cover most of the range.
void preparePicture() {
    g_picture = QImage(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(g_picture.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            row[x] = qRgb((x * 7 + y) & 0xFF, (x + y * 3) & 0xFF, (x * y) & 0xFF);
        }
    }
    g_grey.resize(static_cast<size_t>(kWidth) * kHeight);
    for (size_t i = 0; i < g_grey.size(); ++i) {
        g_grey[i] = static_cast<uchar>((i * 31 + i / kWidth) % 200 + 20);
    }
}

void BM_GreyHistogram(benchmark::State& state) {
    for (auto _ : state) {
        imageops::GreyHistogram histogram = imageops::computeGrayHistogram(g_picture);
        benchmark::DoNotOptimize(histogram);
    }
}

// The peer: the picture as a matrix without a copy, its grey conversion and
// OpenCV's 256-bin histogram of it.
void BM_OpenCVCalcHist(benchmark::State& state) {
    const cv::Mat bgra(kHeight, kWidth, CV_8UC4, const_cast<uchar*>(g_picture.constBits()),
                       static_cast<size_t>(g_picture.bytesPerLine()));
    cv::Mat grey;
    cv::Mat hist;
    const int channels[] = {0};
    const int size[] = {256};
    const float range[] = {0, 256};
    const float* ranges[] = {range};
    for (auto _ : state) {
        cv::cvtColor(bgra, grey, cv::COLOR_BGRA2GRAY);
        cv::calcHist(&grey, 1, channels, cv::Mat(), hist, 1, size, ranges);
        benchmark::DoNotOptimize(hist.data);
    }
}

// The page with a gel/UV capture and the histogram tool open; each
// iteration moves the Left slider as a release would and paints the picture
// label at once.
void BM_SliderReleaseToScreen(benchmark::State& state) {
    ImageProcessFrame page;
    page.resize(1024, 643);
    page.show();
    ZdqCameraCtrl* camera = ZdqCameraCtrl::getInstance();
    camera->frameBuffer = g_grey.data();
    camera->frameWidth = kWidth;
    camera->frameHeight = kHeight;
    page.slot_EnterIPFrame();
    page.findChild<ImageProcess_FuncsFrame*>()
        ->findChild<QPushButton*>(QStringLiteral("pushButton_Histogram"))
        ->click();
    QApplication::processEvents();
    auto* left = page.findChild<MySlider*>(QStringLiteral("horizontalSlider_Left"));
    auto* label = page.findChild<ImageProcessLabel*>(QStringLiteral("label_Pic"));
    int value = 30;
    for (auto _ : state) {
        value = value == 30 ? 60 : 30;
        left->setValue(value);
        label->repaint();
    }
    camera->frameBuffer = nullptr;
}

QList<QPointF> chartPoints() {
    QList<QPointF> points;
    points.reserve(kChartPoints);
    for (int i = 0; i < kChartPoints; ++i) {
        points.append(QPointF(i, std::log(1.0 + (i * 2654435761u % 10007))));
    }
    return points;
}

// What the chart frame's users do for each new histogram, drawn at once.
void showCurve(SQ_ChartFrame& frame, const QList<QPointF>& points) {
    frame.clearChart();
    frame.appendUpperLineSeries(points);
    frame.updateLineSeriesToChart(0, 255);
    benchmark::DoNotOptimize(frame.grab());
}

// A frame that has shown a curve, as the panels keep theirs: its OpenGL
// context and shaders exist, so each iteration is a curve taken and drawn.
void BM_ChartFrame65536(benchmark::State& state) {
    SQ_ChartFrame frame;
    frame.resize(180, 120);
    frame.show();
    const QList<QPointF> points = chartPoints();
    showCurve(frame, points);
    for (auto _ : state) {
        showCurve(frame, points);
    }
}

// The first curve of a new frame, which also sets up its OpenGL drawing.
void BM_ChartFrameFirstCurve(benchmark::State& state) {
    const QList<QPointF> points = chartPoints();
    for (auto _ : state) {
        state.PauseTiming();
        auto frame = std::make_unique<SQ_ChartFrame>();
        frame->resize(180, 120);
        frame->show();
        state.ResumeTiming();
        showCurve(*frame, points);
        state.PauseTiming();
        frame.reset();
        state.ResumeTiming();
    }
}

// Real times in milliseconds by the name a benchmark was registered with.
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                ms[run.run_name.function_name] = run.GetAdjustedRealTime() /
                                                 benchmark::GetTimeUnitMultiplier(run.time_unit) *
                                                 1e3;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> ms;
};

}  // namespace

int main(int argc, char** argv) {
    // Offscreen unless a platform is named: under Xvfb with QT_QPA_PLATFORM=xcb
    // the chart frame draws its curve with OpenGL where the display offers it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir station;
    qputenv("VARNU_HOME", station.path().toLocal8Bit());
    QApplication app(argc, argv);
    preparePicture();

    benchmark::RegisterBenchmark("greyHistogram", BM_GreyHistogram)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("opencvCalcHist", BM_OpenCVCalcHist)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("sliderReleaseToScreen", BM_SliderReleaseToScreen)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("chartFrame65536", BM_ChartFrame65536)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("chartFrameFirstCurve", BM_ChartFrameFirstCurve)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);

    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const auto time = [&reporter](const std::string& name) {
        const auto it = reporter.ms.find(name);
        return it == reporter.ms.end() ? -1.0 : it->second;
    };
    std::printf("\npicture %dx%d\n", kWidth, kHeight);
    std::printf(
        "grey histogram %.2f ms (goal 10), %.2f x OpenCV's grey conversion and calcHist "
        "(%.2f ms)\n",
        time("greyHistogram"), time("greyHistogram") / time("opencvCalcHist"),
        time("opencvCalcHist"));
    std::printf("slider release to the stretched picture on screen %.2f ms (goal 30)\n",
                time("sliderReleaseToScreen"));
    std::printf("chart frame with %d points %.2f ms (goal 50); a new frame's first curve %.2f ms\n",
                kChartPoints, time("chartFrame65536"), time("chartFrameFirstCurve"));
    benchmark::Shutdown();
    return 0;
}
