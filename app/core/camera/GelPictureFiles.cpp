#include "camera/GelPictureFiles.h"

#include "base/StationDir.h"

#include <QFileInfo>

#include <limits>

namespace GelPictureFiles {

namespace {
// Far more pictures than a station takes in a day.
constexpr int kNumbersTried = 100000;

QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("yy-MM-dd"));
}
}  // namespace

QString numberText(int number) {
    return QString::number(number).rightJustified(3, QLatin1Char('0'));
}

QString stationFolder(const QDate& date) {
    return stationDirPath() + QStringLiteral("/Pictures/") + dateText(date) +
           QStringLiteral("/Varnu/");
}

QString storageFolder(const QString& storagePath, const QDate& date) {
    return storagePath + QStringLiteral("/") + dateText(date) + QStringLiteral("/Varnu/");
}

QString fileName(int number) {
    return numberText(number) + QStringLiteral(".tif");
}

int freeNumber(const QString& folder1, const QString& folder2, int from) {
    for (int tried = 0; tried < kNumbersTried && from <= std::numeric_limits<int>::max() - tried;
         ++tried) {
        const int number = from + tried;
        const QString name = fileName(number);
        if (!QFileInfo::exists(folder1 + name) && !QFileInfo::exists(folder2 + name)) {
            return number;
        }
    }
    return -1;
}

}  // namespace GelPictureFiles
