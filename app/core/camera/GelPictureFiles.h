// Where the pictures of a gel/UV experiment live, and how they are written.
#pragma once

#include <QDate>
#include <QString>

class UserOpts;
namespace cv {
class Mat;
}

namespace GelPictureFiles {

// "007" for 7, "1234" for 1234: the daily number, at least three digits.
QString numberText(int number);
// <station>/Pictures/<yy-MM-dd>/Varnu/ for the date of an experiment.
QString stationFolder(const QDate& date);
// <storagePath>/<yy-MM-dd>/Varnu/.
QString storageFolder(const QString& storagePath, const QDate& date);
// The first desktop location followed by "/UserImages".
QString defaultStoragePath();
// Reloads storagePath; an empty one first becomes the default and is saved.
QString storagePath(UserOpts& userOpt);

// Writes an 8-bit single-channel picture as an uncompressed TIFF with
// resolution unit inch and dpi in x and y, under exactly `path` (whatever its
// suffix), creating missing folders. False when nothing usable was written
// (an empty picture, an encoder failure, a folder or file that cannot be
// written); a partly written file is removed.
bool writeGreyTiff(const QString& path, const cv::Mat& picture, int dpi);

}  // namespace GelPictureFiles
