// The gel scene: eight lanes of bands, bright under UV, on a dark gel; and
// the focus blur applied to it.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "frame_synth.h"

namespace usbcam {

namespace {

constexpr int kLanes = 8;
constexpr int kMaxBands = 10;

struct Band {
    double position;   // 0 .. 1 down the gel
    double intensity;  // 0 .. 1
};

// Lane 0 is a size ladder; the others carry a few samples whose positions and
// strengths come from a fixed hash, so every run shows the same gel.
int bandsOfLane(int lane, Band* bands) {
    if (lane == 0) {
        for (int k = 0; k < kMaxBands; ++k) {
            bands[k] = {0.16 + 0.07 * k, 0.45 + 0.05 * k};
        }
        return kMaxBands;
    }
    uint32_t h = 2166136261u ^ static_cast<uint32_t>(lane * 16777619u);
    int count = 3 + lane % 3;
    for (int k = 0; k < count; ++k) {
        h = h * 1103515245u + 12345u;
        double position = 0.18 + 0.64 * ((h >> 8) & 0xFFFF) / 65535.0;
        h = h * 1103515245u + 12345u;
        double intensity = 0.3 + 0.7 * ((h >> 8) & 0xFFFF) / 65535.0;
        bands[k] = {position, intensity};
    }
    return count;
}

std::vector<uint16_t> makeGel(int width, int height) {
    std::vector<uint16_t> out(static_cast<size_t>(width) * height);
    // Which lane each column belongs to and how much of the lane it sees.
    std::vector<int> laneOf(width, -1);
    std::vector<float> mask(width, 0.0f);
    double laneWidth = 0.8 / kLanes;
    for (int x = 0; x < width; ++x) {
        double u = (x + 0.5) / width;
        int lane = static_cast<int>(std::floor((u - 0.1) / laneWidth));
        if (lane < 0 || lane >= kLanes) {
            continue;
        }
        double centre = 0.1 + laneWidth * (lane + 0.5);
        double d = std::fabs(u - centre) / (laneWidth * 0.35);
        double m = d < 0.8 ? 1.0 : d < 1.0 ? (1.0 - d) / 0.2 : 0.0;
        laneOf[x] = lane;
        mask[x] = static_cast<float>(m);
    }
    // Profile down each lane: a band is a narrow peak with a faint smear.
    std::vector<std::vector<float>> profile(kLanes, std::vector<float>(height, 0.0f));
    double sigma = std::max(1.5, 0.006 * height);
    for (int lane = 0; lane < kLanes; ++lane) {
        Band bands[kMaxBands];
        int count = bandsOfLane(lane, bands);
        for (int y = 0; y < height; ++y) {
            double sum = 0;
            for (int k = 0; k < count; ++k) {
                double dy = (y - bands[k].position * height) / sigma;
                sum += bands[k].intensity * std::exp(-dy * dy);
                if (dy < 0 && dy > -12) {
                    sum += 0.04 * bands[k].intensity * std::exp(dy / 4);
                }
            }
            profile[lane][y] = static_cast<float>(std::min(sum, 1.0));
        }
    }
    for (int y = 0; y < height; ++y) {
        double background = 0.035 + 0.01 * y / height;
        uint16_t* row = out.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            double r = background;
            if (laneOf[x] >= 0) {
                r += mask[x] * profile[laneOf[x]][y];
            }
            row[x] = static_cast<uint16_t>(std::min(r, 1.0) * 65535.0 + 0.5);
        }
    }
    // The gel lies upright on the table (ladder at the left, wells at the
    // top); the lens projects it onto the chip turned by 180 degrees.
    std::reverse(out.begin(), out.end());
    return out;
}

// One pass of a box filter of radius r along rows (step 1) or columns.
void boxPass(const std::vector<uint16_t>& in, std::vector<uint16_t>& out, int width, int height,
             int radius, bool alongRows) {
    int lines = alongRows ? height : width;
    int length = alongRows ? width : height;
    size_t stride = alongRows ? 1 : static_cast<size_t>(width);
    int span = 2 * radius + 1;
    for (int line = 0; line < lines; ++line) {
        size_t base = alongRows ? static_cast<size_t>(line) * width : static_cast<size_t>(line);
        auto at = [&](int i) {
            i = std::clamp(i, 0, length - 1);
            return in[base + static_cast<size_t>(i) * stride];
        };
        uint32_t sum = 0;
        for (int i = -radius; i <= radius; ++i) {
            sum += at(i);
        }
        for (int i = 0; i < length; ++i) {
            out[base + static_cast<size_t>(i) * stride] = static_cast<uint16_t>(sum / span);
            sum += at(i + radius + 1);
            sum -= at(i - radius);
        }
    }
}

}  // namespace

std::shared_ptr<const std::vector<uint16_t>> SceneCache::get(int width, int height, int blur) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!sharp_ || width != width_ || height != height_) {
        sharp_ = std::make_shared<const std::vector<uint16_t>>(makeGel(width, height));
        width_ = width;
        height_ = height;
        blurred_.reset();
    }
    if (blur <= 0) {
        return sharp_;
    }
    if (!blurred_ || blur_ != blur) {
        std::vector<uint16_t> tmp(sharp_->size());
        auto result = std::make_shared<std::vector<uint16_t>>(sharp_->size());
        boxPass(*sharp_, tmp, width, height, blur, true);
        boxPass(tmp, *result, width, height, blur, false);
        blurred_ = result;
        blur_ = blur;
    }
    return blurred_;
}

}  // namespace usbcam
