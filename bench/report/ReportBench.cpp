// A report as a report button makes it (new document from the template,
// seven texts, the picture) with a 2592 x 1944 picture from an 8-bit and a
// 16-bit TIFF at 600 dpi, against OpenCV's PNG encoding of the same picture
// alone. Runs in a temporary station; prints the ratios at the end.
//
//     bench_report [benchmark flags]

#include "ReportWordProcessor.h"
#include "ReportWps.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;

QString stationDir;
std::map<std::string, double> secondsPerPress;  // by benchmark name

cv::Mat gelPicture(int depth) {
    cv::Mat image(kHeight, kWidth, depth == 16 ? CV_16UC1 : CV_8UC1);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            // Bands on a noisy background, like a gel.
            const int band = (x / 160) % 2 == 0 && (y / 90) % 3 == 1 ? 140 : 20;
            const int value = band + (x * 7 + y * 13) % 23;
            if (depth == 16) {
                image.at<ushort>(y, x) = static_cast<ushort>(value * 257);
            } else {
                image.at<uchar>(y, x) = static_cast<uchar>(value);
            }
        }
    }
    return image;
}

QString picturePath(int depth) {
    return stationDir + QStringLiteral("/gel%1.tif").arg(depth);
}

void BM_ReportPress(benchmark::State& state) {
    const int depth = static_cast<int>(state.range(0));
    const QString picture = picturePath(depth);
    for (auto _ : state) {
        ReportWps report;
        if (!report.openReportTemplate()) {
            state.SkipWithError("the report could not be made");
            break;
        }
        report.setBookmarkText(QStringLiteral("MainTitle"), QStringLiteral("Gel imaging report"));
        report.setBookmarkText(QStringLiteral("SubTitle"), QStringLiteral("Laboratory 3"));
        report.setBookmarkText(QStringLiteral("UserLabel"), QStringLiteral("User:"));
        report.setBookmarkText(QStringLiteral("User"), QStringLiteral("Ada Lovelace"));
        report.setBookmarkText(QStringLiteral("ReportDateLabel"), QStringLiteral("ReportDate:"));
        report.setBookmarkText(QStringLiteral("ReportDate"),
                               QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
        report.setBookmarkText(QStringLiteral("PictureName1"),
                               QStringLiteral("PictureName:gel.tif"));
        report.insertBookmarkPicture(QStringLiteral("Picture1"), picture);
        if (report.saveDocument().isEmpty()) {
            state.SkipWithError("the report could not be saved");
            break;
        }
        state.PauseTiming();
        QDir(reportsFolderPath()).removeRecursively();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReportPress)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCvPngEncode(benchmark::State& state) {
    const cv::Mat image = gelPicture(8);
    std::vector<uchar> png;
    for (auto _ : state) {
        cv::imencode(".png", image, png);
        benchmark::DoNotOptimize(png.data());
    }
}
BENCHMARK(BM_OpenCvPngEncode)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps each run's real time per iteration, for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                secondsPerPress[run.benchmark_name()] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir station;
    stationDir = station.path();
    qputenv("VARNU_HOME", QFile::encodeName(stationDir));
    QDir().mkpath(stationDir + QStringLiteral("/documents"));
    QFile::copy(QStringLiteral(VARNU_REPORT_TEMPLATE_PATH),
                stationDir + QStringLiteral("/documents/report.dotx"));
    const std::vector<int> tiff = {cv::IMWRITE_TIFF_RESUNIT, 2,   cv::IMWRITE_TIFF_XDPI,        600,
                                   cv::IMWRITE_TIFF_YDPI,    600, cv::IMWRITE_TIFF_COMPRESSION, 1};
    for (int depth : {8, 16}) {
        cv::imwrite(QFile::encodeName(picturePath(depth)).toStdString(), gelPicture(depth), tiff);
    }
    installReportWordProcessor();

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double png = secondsPerPress["BM_OpenCvPngEncode/real_time"];
    for (int depth : {8, 16}) {
        const std::string name = "BM_ReportPress/" + std::to_string(depth) + "/real_time";
        const double press = secondsPerPress[name];
        if (png > 0 && press > 0) {
            std::printf(
                "report from a %d-bit TIFF: %.1f ms, %.2f x OpenCV's PNG encoding (%.1f ms)\n",
                depth, press * 1e3, press / png, png * 1e3);
        }
    }
    return 0;
}
