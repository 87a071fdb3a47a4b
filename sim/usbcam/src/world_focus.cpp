#include "world_focus.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace usbcam {

namespace {
constexpr double kLensMin = 0.0;
constexpr double kLensMax = 1000.0;

long long nowEpochMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}
}  // namespace

WorldFocus::WorldFocus(std::string path, double sharpPosition, double unitsPerPixel)
    : path_(std::move(path)),
      sharp_(sharpPosition),
      unitsPerPixel_(unitsPerPixel > 0 ? unitsPerPixel : 1.0) {}

void WorldFocus::refresh() {
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0) {
        known_ = false;
        mtimeNs_ = -1;
        return;
    }
    const long long mtime =
        static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    if (mtime == mtimeNs_ && info.st_size == size_) {
        return;
    }
    std::ifstream in(path_);
    std::string line;
    bool haveFocus = false;
    bool haveTime = false;
    double focus = 0;
    double rate = 0;
    long long epoch = 0;
    while (std::getline(in, line)) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        char* end = nullptr;
        if (key == "focus") {
            focus = std::strtod(value.c_str(), &end);
            haveFocus = end != value.c_str() && std::isfinite(focus);
        } else if (key == "focus_rate") {
            rate = std::strtod(value.c_str(), &end);
            if (end == value.c_str() || !std::isfinite(rate)) {
                rate = 0;
            }
        } else if (key == "epoch_ms") {
            epoch = std::strtoll(value.c_str(), &end, 10);
            haveTime = end != value.c_str();
        }
    }
    mtimeNs_ = mtime;
    size_ = info.st_size;
    known_ = haveFocus && haveTime;
    focus_ = focus;
    rate_ = rate;
    epochMs_ = epoch;
}

double WorldFocus::focusAt(long long epochMs) {
    std::lock_guard<std::mutex> lock(mutex_);
    refresh();
    if (!known_) {
        return -1.0;
    }
    const double seconds = epochMs > epochMs_ ? (epochMs - epochMs_) / 1000.0 : 0.0;
    return std::clamp(focus_ + rate_ * seconds, kLensMin, kLensMax);
}

int WorldFocus::blurRadius(int fallback) {
    const double focus = focusAt(nowEpochMs());
    if (focus < 0) {
        return fallback;
    }
    const double radius = std::fabs(focus - sharp_) / unitsPerPixel_;
    return static_cast<int>(std::clamp(std::lround(radius), 0L, 256L));
}

}  // namespace usbcam
