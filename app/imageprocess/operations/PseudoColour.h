#pragma once

#include <opencv2/core.hpp>

namespace imageops {

// The station's grey (see stationGrey) through the jet colour map: dark blue
// for 0 through cyan and yellow to dark red for 255.
cv::Mat pseudoColour(const cv::Mat& bgr);

}  // namespace imageops
