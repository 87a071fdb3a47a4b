#include "Inversion.h"

namespace imageops {

cv::Mat invert(const cv::Mat& bgr) {
    cv::Mat result;
    cv::bitwise_not(bgr, result);
    return result;
}

}  // namespace imageops
