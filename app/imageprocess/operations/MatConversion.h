#pragma once

#include <QImage>
#include <opencv2/core.hpp>

namespace imageops {

// The working picture (RGB32, or premultiplied ARGB32 after a free rotation)
// as an 8-bit matrix of its own with the channels blue, green, red; alpha is
// dropped. Any other format gives an empty matrix and a debug line naming it.
cv::Mat imageToMat(const QImage& image);

// A 3- or 4-channel 8-bit blue-green-red matrix as an RGB32 picture of its
// own (alpha 255). Anything else gives a null picture.
QImage matToImage(const cv::Mat& mat);

}  // namespace imageops
