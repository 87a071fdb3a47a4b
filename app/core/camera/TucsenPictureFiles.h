// Where the pictures of a western-blot experiment are stored.
#pragma once

#include <QDate>
#include <QString>
#include <QTime>

namespace TucsenPictureFiles {

// <station>/Pictures/<yy-MM-dd>/<experiment>/ for the date of the experiment.
QString stationFolder(const QDate& date, const QString& experiment);
// <storagePath>/<yy-MM-dd>/<experiment>/.
QString storageFolder(const QString& storagePath, const QDate& date, const QString& experiment);
// "hh-mm-ss-zzz.tif" of `time`, or of the next millisecond that names no
// file in either folder, so a picture never replaces another.
QString freeFileName(const QString& folder1, const QString& folder2, QTime time);

}  // namespace TucsenPictureFiles
