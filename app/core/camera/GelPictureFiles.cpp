#include "camera/GelPictureFiles.h"

#include "base/StationDir.h"

namespace GelPictureFiles {

namespace {
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

}  // namespace GelPictureFiles
