// Where the pictures of a western-blot experiment are stored, and how.
#pragma once

#include <QDate>
#include <QString>
#include <QTime>

class UserOpts;
namespace cv {
class Mat;
}

namespace TucsenPictureFiles {

// <station>/Pictures/<yy-MM-dd>/<experiment>/ for the date of the experiment.
QString stationFolder(const QDate& date, const QString& experiment);
// <storagePath>/<yy-MM-dd>/<experiment>/.
QString storageFolder(const QString& storagePath, const QDate& date, const QString& experiment);
// Reloads storagePath; an empty one first becomes the first desktop
// location followed by "/UserImages" and is saved.
QString storagePath(UserOpts& userOpt);
// "hh-mm-ss-zzz.tif" of `time`, or of the next millisecond that names no
// file in either folder, so a picture never replaces another.
QString freeFileName(const QString& folder1, const QString& folder2, QTime time);
// Writes a 16-bit grey image as an uncompressed TIFF of 600 dpi (resolution
// unit inch) under exactly `path`, creating missing folders. False, with a
// warning in the log, when nothing was written.
bool writeTiff16(const QString& path, const cv::Mat& image);

}  // namespace TucsenPictureFiles
