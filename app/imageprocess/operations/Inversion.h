#pragma once

#include <opencv2/core.hpp>

namespace imageops {

// Every byte of every channel becomes 255 - v.
cv::Mat invert(const cv::Mat& bgr);

}  // namespace imageops
