// The lens focus of the shared world (the file the dark-room simulator
// publishes) as the blur of a camera's scene: the box radius grows by one
// array pixel for every `unitsPerPixel` of focus travel away from the sharp
// position. The file is read again only when it has changed; a moving lens
// is extrapolated from its rate.
#pragma once

#include <sys/types.h>
#include <mutex>
#include <string>

namespace usbcam {

class WorldFocus {
  public:
    WorldFocus(std::string path, double sharpPosition, double unitsPerPixel);

    // The blur radius now (0 .. 256), or `fallback` while the file cannot be
    // read or holds no focus.
    int blurRadius(int fallback);

    // The focus at a wall-clock time (ms since 1970) from the last read, or a
    // negative value when none is known. For tests.
    double focusAt(long long epochMs);

  private:
    void refresh();

    std::string path_;
    double sharp_;
    double unitsPerPixel_;
    std::mutex mutex_;
    bool known_ = false;
    double focus_ = 0;
    double rate_ = 0;
    long long epochMs_ = 0;
    long long mtimeNs_ = -1;
    off_t size_ = -1;
};

}  // namespace usbcam
