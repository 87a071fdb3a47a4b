#include "ExperimentPictures.h"

#include "database/Varnu_ExperimentDB.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ExperimentPictures {

namespace {
// Gel/UV experiment names begin with the application name "Varnu".
constexpr int kNamePrefixLength = 5;
}  // namespace

QStringList pictureFiles(const VarnuExperiment& record, const QString& storagePath) {
    const QString baseName = record.name.mid(kNamePrefixLength);
    if (baseName.isEmpty() || record.picSavedPath.isEmpty()) {
        return {};
    }
    const QString fileName = baseName + QStringLiteral(".tif");
    QStringList files{QDir(record.picSavedPath).filePath(fileName)};
    if (!storagePath.isEmpty()) {
        const QString dateFolder = record.dateTime.toString(QStringLiteral("yy-MM-dd"));
        files << QDir(storagePath).filePath(dateFolder + QStringLiteral("/Varnu/") + fileName);
    }
    return files;
}

Removal removePictures(const VarnuExperiment& record, const QString& storagePath) {
    Removal result;
    for (const QString& path : pictureFiles(record, storagePath)) {
        const QFileInfo file(path);
        if (!file.isFile()) {
            continue;
        }
        if (QFile::remove(path)) {
            result.removed << path;
        } else {
            result.failed << path;
        }
    }
    return result;
}

}  // namespace ExperimentPictures
