// Where the pictures of a gel/UV experiment live.
#pragma once

#include <QDate>
#include <QString>

namespace GelPictureFiles {

// "007" for 7, "1234" for 1234: the daily number, at least three digits.
QString numberText(int number);
// <station>/Pictures/<yy-MM-dd>/Varnu/ for the date of an experiment.
QString stationFolder(const QDate& date);
// <storagePath>/<yy-MM-dd>/Varnu/.
QString storageFolder(const QString& storagePath, const QDate& date);
// The file name of daily number `number`: numberText + ".tif".
QString fileName(int number);
// The first number from `from` on whose file name names nothing in either
// folder; -1 when none does within a day's worth of numbers.
int freeNumber(const QString& folder1, const QString& folder2, int from);

}  // namespace GelPictureFiles
