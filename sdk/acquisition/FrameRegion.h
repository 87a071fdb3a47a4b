// A rectangle of a frame in pixels and its clamping to a frame. Regions are
// counted from the top-left corner of the picture as the user sees it; they
// are stored as set, whatever their values, and clamped at each use.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>

struct FrameRegion {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

inline bool operator==(const FrameRegion& a, const FrameRegion& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

// A region written by the application's threads and read by the thread that
// measures or draws frames: each word is read whole, the four together may
// be seen half updated by one frame.
class SharedFrameRegion {
  public:
    void Store(const FrameRegion& region) {
        m_x = region.x;
        m_y = region.y;
        m_nWidth = region.width;
        m_nHeight = region.height;
    }
    FrameRegion Load() const { return FrameRegion{m_x, m_y, m_nWidth, m_nHeight}; }

  private:
    std::atomic<int32_t> m_x{0};
    std::atomic<int32_t> m_y{0};
    std::atomic<int32_t> m_nWidth{0};
    std::atomic<int32_t> m_nHeight{0};
};

// The region clamped into a frame of nFrameWidth x nFrameHeight pixels, at
// least nMargin pixels wide and high where the frame is: x into
// [0, width - margin], the width into [margin, frame width] and then shortened
// to end at the frame's right edge; y and the height the same way. A frame
// smaller than the margin gives its whole width or height. With bRowsBottomUp
// the buffer holds the picture's rows bottom-up, and y becomes the buffer row
// of the region's last picture row.
inline FrameRegion ClampRegionToFrame(const FrameRegion& region, int32_t nFrameWidth,
                                      int32_t nFrameHeight, int32_t nMargin, bool bRowsBottomUp) {
    FrameRegion clamped;
    clamped.x = std::max(0, std::min(region.x, nFrameWidth - nMargin));
    clamped.y = std::max(0, std::min(region.y, nFrameHeight - nMargin));
    clamped.width = std::max(nMargin, std::min(region.width, nFrameWidth));
    clamped.height = std::max(nMargin, std::min(region.height, nFrameHeight));
    if (clamped.x + clamped.width > nFrameWidth) {
        clamped.width = nFrameWidth - clamped.x;
    }
    if (clamped.y + clamped.height > nFrameHeight) {
        clamped.height = nFrameHeight - clamped.y;
    }
    if (bRowsBottomUp) {
        clamped.y = nFrameHeight - clamped.y - clamped.height;
    }
    return clamped;
}
