#include "Dyeing.h"

#include <opencv2/imgproc.hpp>

namespace imageops {

cv::Mat dyeingTable(const QColor& colour) {
    const int r = colour.red();
    const int g = colour.green();
    const int b = colour.blue();
    cv::Mat table(256, 1, CV_8UC3);
    for (int i = 0; i < 256; ++i) {
        table.at<cv::Vec3b>(i, 0) = cv::Vec3b(static_cast<uchar>(b + ((255 - b) * i) / 256),
                                              static_cast<uchar>(g + ((255 - g) * i) / 256),
                                              static_cast<uchar>(r + ((255 - r) * i) / 256));
    }
    return table;
}

cv::Mat dye(const cv::Mat& bgr, const cv::Mat& table) {
    cv::Mat grey;
    cv::cvtColor(bgr, grey, cv::COLOR_BGR2GRAY);
    cv::Mat result;
    cv::applyColorMap(grey, result, table);
    return result;
}

}  // namespace imageops
