// The two copies of a captured picture: one in the station's own folder (the
// folder its experiment row names) and one below the storage path, under one
// file name, neither ever replacing a file that exists.
#pragma once

#include <QString>

#include <functional>

namespace cv {
class Mat;
}

struct PictureCopies {
    // The file name of both copies; empty when no copy was written.
    QString name;
    bool stationCopy = false;
    bool storageCopy = false;
    // The folder that could not be written; empty when both copies were.
    QString failedFolder;

    bool complete() const { return stationCopy && storageCopy; }
};

// Writes `picture` (8- or 16-bit grey) as an uncompressed TIFF of `dpi` into
// both folders. `freeName` proposes a file name that names nothing in either
// folder (empty when it finds none); it is asked again when another writer
// takes that name between the proposal and the write. A station copy that
// cannot be written ends the attempt: a storage copy alone would be a picture
// no record refers to. A storage copy that cannot be written leaves the
// station copy in place.
PictureCopies writePictureCopies(const QString& stationFolder, const QString& storageFolder,
                                 const cv::Mat& picture, int dpi,
                                 const std::function<QString()>& freeName);
