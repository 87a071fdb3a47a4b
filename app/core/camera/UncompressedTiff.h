// Grey pictures as uncompressed TIFF files, as both cameras' captures and the
// gel/UV export write them.
#pragma once

#include <QString>

namespace cv {
class Mat;
}

// Writes an 8- or 16-bit single-channel picture as an uncompressed TIFF with
// resolution unit inch and `dpi` in x and y, under exactly `path` (whatever
// its suffix), creating missing folders. False, with a warning in the log,
// when nothing usable was written (an empty picture or another type, an
// encoder failure, a folder or file that cannot be written); the file is
// written whole (platform/FileSystem.h), so a failed write leaves the earlier
// one as it was.
bool writeUncompressedTiff(const QString& path, const cv::Mat& picture, int dpi);

enum class NewPictureFile { Written, NameTaken, Failed };
// As writeUncompressedTiff, but never replaces a file: the finished file
// takes the name only when nothing of that name exists (so two writers can
// never both take it), and until then nothing of that name is there.
// NameTaken when something of that name exists already, which is left as it
// was; Failed, with the warning, when the picture could not be written, and
// then no file of that name is left.
NewPictureFile writeNewUncompressedTiff(const QString& path, const cv::Mat& picture, int dpi);
