#include "PseudoColour.h"

#include "BlackWhite.h"

#include <opencv2/imgproc.hpp>

namespace imageops {

cv::Mat pseudoColour(const cv::Mat& bgr) {
    cv::Mat result;
    cv::applyColorMap(stationGrey(bgr), result, cv::COLORMAP_JET);
    return result;
}

}  // namespace imageops
