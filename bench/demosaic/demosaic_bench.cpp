// Times every demosaicing algorithm of the library (24-bit output, upright
// and bottom-up) on synthetic 8-bit RGGB mosaics of two camera sizes, next to
// OpenCV's bilinear, VNG and edge-aware Bayer-to-BGR conversions of the same
// data (one thread and OpenCV's default threads) and a memcpy that moves as
// many bytes as a 24-bit demosaic does (1 byte read and 3 written per pixel:
// a copy of 2 bytes per pixel). Prints ms per frame, Mpx/s and the ratios of
// our times to each of OpenCV's and to the memcpy line.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <random>
#include <string>
#include <vector>

#include "MT_ZDQBayerFilter.h"

namespace {

using ColourFn = int (*)(unsigned char*, int, int, unsigned char*, unsigned short);

struct FrameSize {
    int width;
    int height;
};

const FrameSize kSizes[] = {{2592, 1944}, {5472, 3648}};

// OpenCV names a Bayer pattern by the second row's second and third pixels:
// our RGGB (B at (1,1), G at (1,2)) is its BG pattern.
constexpr int kOpenCvCodeForRggb = cv::COLOR_BayerBG2BGR;

// OpenCV's conversions the summary compares with: its bilinear one (the peer
// of the 3x3 algorithms), variable number of gradients and edge-aware (the
// peers of smooth hue and the Laplacians).
struct OpenCvConversion {
    const char* name;
    int code;
};
const OpenCvConversion kOpenCvConversions[] = {
    {"Bilinear", kOpenCvCodeForRggb},
    {"VNG", cv::COLOR_BayerBG2BGR_VNG},
    {"EA", cv::COLOR_BayerBG2BGR_EA},
};

struct Algorithm {
    const char* name;
    ColourFn upright;
    ColourFn flipped;
};

const Algorithm kAlgorithms[] = {
    {"NearestNeighbor", ZDQCFA_NearestNeighbor_RGGB, ZDQCFA_NearestNeighbor_RGGB_Flip},
    {"Bilinear", ZDQCFA_Bilinear_RGGB, ZDQCFA_Bilinear_RGGB_Flip},
    {"FastBilinear", ZDQCFA_FastBilinear_RGGB, ZDQCFA_FastBilinear_RGGB_Flip},
    {"SmoothHue", ZDQCFA_SmoothHue_RGGB, ZDQCFA_SmoothHue_RGGB_Flip},
    {"EdgeSensing1", ZDQCFA_EdgeSensing1_RGGB, ZDQCFA_EdgeSensing1_RGGB_Flip},
    {"EdgeSensing2", ZDQCFA_EdgeSensing2_RGGB, ZDQCFA_EdgeSensing2_RGGB_Flip},
    {"Laplacian", ZDQCFA_Laplacian_RGGB, ZDQCFA_Laplacian_RGGB_Flip},
    {"Laplacian2", ZDQCFA_Laplacian2_RGGB, nullptr},
};

// A mosaic with smooth gradients, edges and sensor-like noise, sampled
// through the RGGB pattern.
struct Frame {
    FrameSize size;
    std::vector<std::uint8_t> raw;
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> copy_src;
    std::vector<std::uint8_t> copy_dst;

    explicit Frame(FrameSize s)
        : size(s),
          raw(static_cast<std::size_t>(s.width) * s.height),
          out(raw.size() * 3),
          copy_src(raw.size() * 2, 1),
          copy_dst(raw.size() * 2) {
        std::mt19937 gen(12345);
        std::uniform_int_distribution<int> noise(-6, 6);
        for (int y = 0; y < s.height; ++y) {
            for (int x = 0; x < s.width; ++x) {
                const int r = (x * 255) / s.width;
                const int g = (y * 255) / s.height;
                const int b = ((x / 64 + y / 64) & 1) ? 200 : 40;
                const int c = (y & 1) == 0 ? ((x & 1) == 0 ? r : g) : ((x & 1) == 0 ? g : b);
                raw[static_cast<std::size_t>(y) * s.width + x] =
                    static_cast<std::uint8_t>(std::clamp(c + noise(gen), 0, 255));
            }
        }
    }
    double megapixels() const { return static_cast<double>(size.width) * size.height / 1e6; }
};

std::vector<Frame>& frames() {
    static std::vector<Frame> all = [] {
        std::vector<Frame> f;
        for (const FrameSize s : kSizes) {
            f.emplace_back(s);
        }
        return f;
    }();
    return all;
}

// Checks once that OpenCV's conversion of our RGGB mosaic is the bilinear
// result of ours away from the borders (OpenCV rounds its means where we
// floor, so values may differ by one). Exits when the patterns do not match.
void check_pattern_match(Frame& frame) {
    const int w = frame.size.width;
    const int h = frame.size.height;
    ZDQCFA_Bilinear_RGGB(frame.raw.data(), w, h, frame.out.data(), 24);
    cv::Mat bayer(h, w, CV_8UC1, frame.raw.data());
    cv::Mat bgr;
    cv::cvtColor(bayer, bgr, kOpenCvCodeForRggb);
    int max_diff = 0;
    std::size_t equal = 0;
    std::size_t total = 0;
    for (int y = 2; y < h - 2; ++y) {
        const std::uint8_t* ours = frame.out.data() + static_cast<std::size_t>(y) * w * 3;
        const std::uint8_t* theirs = bgr.ptr<std::uint8_t>(y);
        for (int i = 6; i < (w - 2) * 3; ++i) {
            const int d = std::abs(int{ours[i]} - int{theirs[i]});
            max_diff = std::max(max_diff, d);
            equal += d == 0;
            ++total;
        }
    }
    std::printf(
        "pattern check %dx%d: RGGB = OpenCV BayerBG, interior values equal %.2f%%, "
        "largest difference %d\n",
        w, h, 100.0 * static_cast<double>(equal) / static_cast<double>(total), max_diff);
    if (max_diff > 1) {
        std::fprintf(stderr, "OpenCV's pattern does not match ours\n");
        std::exit(1);
    }
}

void set_rate(benchmark::State& state, const Frame& frame) {
    state.counters["Mpx/s"] =
        benchmark::Counter(frame.megapixels(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kIsIterationInvariant);
}

void register_all() {
    const int default_threads = cv::getNumThreads();
    for (std::size_t i = 0; i < frames().size(); ++i) {
        Frame* frame = &frames()[i];
        const std::string size =
            std::to_string(frame->size.width) + "x" + std::to_string(frame->size.height);
        for (const Algorithm& a : kAlgorithms) {
            for (const bool flip : {false, true}) {
                const ColourFn fn = flip ? a.flipped : a.upright;
                if (fn == nullptr) {
                    continue;
                }
                const std::string name = std::string(a.name) + (flip ? "_Flip" : "") + "/" + size;
                benchmark::RegisterBenchmark(name.c_str(), [frame, fn](benchmark::State& state) {
                    for (auto _ : state) {
                        fn(frame->raw.data(), frame->size.width, frame->size.height,
                           frame->out.data(), 24);
                        benchmark::DoNotOptimize(frame->out.data());
                        benchmark::ClobberMemory();
                    }
                    set_rate(state, *frame);
                })->Unit(benchmark::kMillisecond);
            }
        }
        for (const OpenCvConversion& conversion : kOpenCvConversions) {
            for (const int threads : {1, default_threads}) {
                const std::string name = std::string("OpenCV_") + conversion.name +
                                         (threads == 1 ? "_1thread" : "_defaultThreads") + "/" +
                                         size;
                const int code = conversion.code;
                benchmark::RegisterBenchmark(name.c_str(),
                                             [frame, threads, code](benchmark::State& state) {
                                                 cv::setNumThreads(threads);
                                                 cv::Mat bayer(frame->size.height,
                                                               frame->size.width, CV_8UC1,
                                                               frame->raw.data());
                                                 cv::Mat bgr(frame->size.height, frame->size.width,
                                                             CV_8UC3, frame->out.data());
                                                 for (auto _ : state) {
                                                     cv::cvtColor(bayer, bgr, code);
                                                     benchmark::DoNotOptimize(bgr.data);
                                                     benchmark::ClobberMemory();
                                                 }
                                                 set_rate(state, *frame);
                                             })
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime();
            }
        }
        benchmark::RegisterBenchmark(("memcpy_4BytesPerPixel/" + size).c_str(),
                                     [frame](benchmark::State& state) {
                                         for (auto _ : state) {
                                             std::memcpy(frame->copy_dst.data(),
                                                         frame->copy_src.data(),
                                                         frame->copy_src.size());
                                             benchmark::DoNotOptimize(frame->copy_dst.data());
                                             benchmark::ClobberMemory();
                                         }
                                         set_rate(state, *frame);
                                     })
            ->Unit(benchmark::kMillisecond);
    }
    cv::setNumThreads(default_threads);
}

// Keeps every run's real time per iteration for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    // With --benchmark_repetitions the median of the repetitions counts,
    // otherwise the single run.
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            const bool single = r.run_type == Run::RT_Iteration && r.repetitions <= 1;
            if (!median && !single) {
                continue;
            }
            std::string name = r.run_name.function_name;
            if (!r.run_name.args.empty()) {
                name += "/" + r.run_name.args;
            }
            ms_[name] = r.GetAdjustedRealTime();  // in the unit: ms
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintSummary() const {
        for (const Frame& frame : frames()) {
            const std::string size =
                std::to_string(frame.size.width) + "x" + std::to_string(frame.size.height);
            const double cv1 = lookup("OpenCV_Bilinear_1thread/" + size);
            const double cvn = lookup("OpenCV_Bilinear_defaultThreads/" + size);
            const double vng1 = lookup("OpenCV_VNG_1thread/" + size);
            const double vngn = lookup("OpenCV_VNG_defaultThreads/" + size);
            const double ea1 = lookup("OpenCV_EA_1thread/" + size);
            const double ean = lookup("OpenCV_EA_defaultThreads/" + size);
            const double copy = lookup("memcpy_4BytesPerPixel/" + size);
            std::printf("\n%s (%.1f Mpx)  %-24s %9s %9s %9s %9s %9s %9s %9s %9s %9s\n",
                        size.c_str(), frame.megapixels(), "", "ms/frame", "Mpx/s", "/OpenCV1",
                        "/OpenCVn", "/VNG1", "/VNGn", "/EA1", "/EAn", "/memcpy");
            for (const auto& [name, ms] : ms_) {
                if (name.size() < size.size() ||
                    name.compare(name.size() - size.size(), size.size(), size) != 0) {
                    continue;
                }
                std::printf("  %-38s %9.3f %9.1f %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f\n",
                            name.substr(0, name.size() - size.size() - 1).c_str(), ms,
                            frame.megapixels() / (ms / 1000.0), ms / cv1, ms / cvn, ms / vng1,
                            ms / vngn, ms / ea1, ms / ean, ms / copy);
            }
        }
        std::printf("\nratios are time / reference time (below 1.0: faster than the reference)\n");
    }

  private:
    double lookup(const std::string& name) const {
        const auto it = ms_.find(name);
        return it == ms_.end() ? 0.0 : it->second;
    }
    std::map<std::string, double> ms_;
};

}  // namespace

int main(int argc, char** argv) {
    for (Frame& f : frames()) {
        check_pattern_match(f);
    }
    register_all();
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary();
    benchmark::Shutdown();
    return 0;
}
