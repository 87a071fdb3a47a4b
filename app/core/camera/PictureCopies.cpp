#include "camera/PictureCopies.h"

#include "camera/UncompressedTiff.h"

#include <QFile>
#include <QtDebug>

namespace {

// Names another writer took first before this one wrote; a few at most in
// practice (two stations capturing at the same moment).
constexpr int kNameRaces = 16;

}  // namespace

PictureCopies writePictureCopies(const QString& stationFolder, const QString& storageFolder,
                                 const cv::Mat& picture, int dpi,
                                 const std::function<QString()>& freeName) {
    PictureCopies copies;
    for (int race = 0; race < kNameRaces; ++race) {
        const QString name = freeName();
        if (name.isEmpty()) {
            qWarning() << "no free picture name in" << stationFolder << "and" << storageFolder;
            break;
        }
        const NewPictureFile first = writeNewUncompressedTiff(stationFolder + name, picture, dpi);
        if (first == NewPictureFile::NameTaken) {
            continue;
        }
        if (first == NewPictureFile::Failed) {
            copies.failedFolder = stationFolder;
            return copies;
        }
        const NewPictureFile second = writeNewUncompressedTiff(storageFolder + name, picture, dpi);
        if (second == NewPictureFile::NameTaken) {
            // Both copies share one name: the station copy moves on with it.
            QFile::remove(stationFolder + name);
            continue;
        }
        copies.name = name;
        copies.stationCopy = true;
        copies.storageCopy = second == NewPictureFile::Written;
        if (!copies.storageCopy) {
            copies.failedFolder = storageFolder;
        }
        return copies;
    }
    copies.failedFolder = stationFolder;
    return copies;
}
