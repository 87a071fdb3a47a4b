#pragma once

#include <opencv2/core.hpp>

namespace imageops {

// The station's grey of a blue-green-red matrix: the conversion that reads
// the first channel as red, so grey = 0.299 blue + 0.587 green + 0.114 red
// (pure red gives 29, pure blue 76; grey pictures keep their grey).
cv::Mat stationGrey(const cv::Mat& bgr);

// That grey in all three channels.
cv::Mat blackAndWhite(const cv::Mat& bgr);

}  // namespace imageops
