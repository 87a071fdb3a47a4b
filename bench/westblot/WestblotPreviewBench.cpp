// The GUI thread's share of the western-blot page's pictures on a simulated
// 2048 x 2048 16-bit cooled camera, offscreen:
//
//     bench_westblot_preview [benchmark flags]
//
// BM_PreviewFrame: one live frame as the image frame shows it: the decoded
// picture to RGB (high bytes, rows mirrored), the pixmap, the smooth scale
// to the picture label and the label's update.
// BM_StretchEvent: one move of a histogram range slider: a fresh copy of the
// captured picture, the stretch, then the same steps as a live frame.
// BM_HistogramChart: a captured picture's histogram as a capture panel
// draws it: the 65,536 bins from the camera back-end, then the chart of
// 65,536 points with the range sliders, fields and markers.
// A memcpy of the decoded picture is measured in the same run as the peer;
// the summary prints them against their budgets (15, 25 and 150 ms).
#include <benchmark/benchmark.h>

#include "BlotHistogramRange.h"
#include "SQ_ChartFrame.h"
#include "WestblotBenchSupport.h"
#include "WesternBlotPicture.h"
#include "camera/TucsenCamCtrl.h"
#include "widgets/LineLabel.h"

#include <CamCore.h>
#include <CamCore_control.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QSlider>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr double kPreviewBudgetMs = 15.0;
constexpr double kStretchBudgetMs = 25.0;
constexpr double kHistogramBudgetMs = 150.0;
// The picture label of the page on a 1920 x 1080 screen.
const QSize kLabelSize(1180, 900);

std::vector<uchar> g_picture;
QLabel* g_label = nullptr;
double g_previewMs = 0.0;
double g_stretchMs = 0.0;
double g_histogramMs = 0.0;
double g_memcpyMs = 0.0;

void grabPicture() {
    camsim_reset("width=2048,height=2048,time_scale=0,scene=bands");
    InitDevice("./");
    const std::string name = DeviceName(0);
    ResumeDevice(name.c_str());
    SetExposure(60000.0f, name.c_str());
    const int rawSize = RecvMemSize(name.c_str());
    std::vector<uchar> raw(static_cast<size_t>(rawSize));
    g_picture.resize(3 * static_cast<size_t>(rawSize));
    GetRawData(raw.data(), rawSize, name.c_str());
    DecodeRaw2Image(raw.data(), g_picture.data(), name.c_str());
    ExitDevice();
}

void showOnLabel(const QImage& image) {
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap = pixmap.scaled(g_label->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    g_label->setPixmap(pixmap);
    g_label->update();
}

void BM_PreviewFrame(benchmark::State& state) {
    for (auto _ : state) {
        showOnLabel(westernBlotScreenImage(g_picture.data(), g_picture.size()));
    }
}
BENCHMARK(BM_PreviewFrame)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_StretchEvent(benchmark::State& state) {
    std::vector<uchar> shown(g_picture.size());
    int minimum = 0;
    for (auto _ : state) {
        std::memcpy(shown.data(), g_picture.data(), g_picture.size());
        stretchPicture(shown.data(), shown.size(), minimum, 30000);
        showOnLabel(westernBlotScreenImage(shown.data(), shown.size()));
        minimum = (minimum + 97) % 20000;
    }
}
BENCHMARK(BM_StretchEvent)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_HistogramChart(benchmark::State& state) {
    TucsenCamCtrl* camera = TucsenCamCtrl::getInstance();
    camera->rawSize = static_cast<int>(g_picture.size() / 3);
    camera->clearFrameList();
    uchar* captured = new uchar[g_picture.size()];
    std::memcpy(captured, g_picture.data(), g_picture.size());
    camera->frameList.append(captured);

    QWidget box;
    box.resize(210, 220);
    auto* chart = new SQ_ChartFrame(&box);
    chart->setGeometry(10, 20, 190, 70);
    auto* left = new QSlider(Qt::Horizontal, &box);
    auto* right = new QSlider(Qt::Horizontal, &box);
    auto* minimum = new QLineEdit(&box);
    auto* maximum = new QLineEdit(&box);
    auto* lines = new LineLabel(&box);
    lines->setGeometry(20, 20, 170, 70);
    BlotHistogramRange range({chart, left, right, minimum, maximum, lines});
    box.show();
    for (auto _ : state) {
        const QVector<double> histogram = camera->getRawHistogram(0);
        range.showHistogram(histogram);
        QCoreApplication::processEvents();
    }
    camera->clearFrameList();
}
BENCHMARK(BM_HistogramChart)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_MemcpyPeer(benchmark::State& state) {
    memcpyPeer(state, g_picture);
}
BENCHMARK(BM_MemcpyPeer)->Unit(benchmark::kMillisecond);

void printLine(const char* what, double ms, double budget) {
    std::printf("%s: %.1f ms (budget %.0f ms, %s), %.1f memcpy's of the picture\n", what, ms,
                budget, ms <= budget ? "met" : "missed", g_memcpyMs > 0 ? ms / g_memcpyMs : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QLabel label;
    label.resize(kLabelSize);
    label.show();
    g_label = &label;
    grabPicture();
    benchmark::Initialize(&argc, argv);
    RealTimeSummary summary({{"BM_PreviewFrame", &g_previewMs},
                             {"BM_StretchEvent", &g_stretchMs},
                             {"BM_HistogramChart", &g_histogramMs},
                             {"BM_MemcpyPeer", &g_memcpyMs}});
    benchmark::RunSpecifiedBenchmarks(&summary);
    printLine("preview frame", g_previewMs, kPreviewBudgetMs);
    printLine("range-slider event", g_stretchMs, kStretchBudgetMs);
    printLine("histogram with its chart", g_histogramMs, kHistogramBudgetMs);
    return 0;
}
