#include "MedianFilter.h"

#include <opencv2/imgproc.hpp>

namespace imageops {

cv::Mat median3(const cv::Mat& bgr) {
    cv::Mat result;
    cv::medianBlur(bgr, result, 3);
    return result;
}

}  // namespace imageops
