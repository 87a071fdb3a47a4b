#pragma once

#include <QColor>
#include <opencv2/core.hpp>

namespace imageops {

// 256 rows of one blue-green-red colour each: row i holds
// c + ((255 - c) * i) / 256 for every component c of the colour, so grey 0
// takes the colour itself and grey 255 comes within one step of white.
cv::Mat dyeingTable(const QColor& colour);

// Each pixel becomes the table row of its true-luma grey
// (0.114 blue + 0.587 green + 0.299 red).
cv::Mat dye(const cv::Mat& bgr, const cv::Mat& table);

}  // namespace imageops
