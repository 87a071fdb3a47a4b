#pragma once

#include <opencv2/core.hpp>

namespace imageops {

// The 3 x 3 median of each channel (borders replicated).
cv::Mat median3(const cv::Mat& bgr);

}  // namespace imageops
