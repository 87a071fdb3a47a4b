#include "BlackWhite.h"

#include <opencv2/imgproc.hpp>

namespace imageops {

cv::Mat stationGrey(const cv::Mat& bgr) {
    cv::Mat grey;
    cv::cvtColor(bgr, grey, cv::COLOR_RGB2GRAY);
    return grey;
}

cv::Mat blackAndWhite(const cv::Mat& bgr) {
    cv::Mat result;
    cv::cvtColor(stationGrey(bgr), result, cv::COLOR_GRAY2BGR);
    return result;
}

}  // namespace imageops
