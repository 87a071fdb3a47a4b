#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace varnu {

// One file of a zip archive, held in memory.
struct ZipEntry {
    QString name;
    QByteArray data;
    bool compress = true;  // deflated when written, else stored
};

// Reading and writing whole zip archives in memory (libzip).
class ZipArchive {
  public:
    // The files of an archive, in the archive's order; directory entries are
    // left out. False, with the reason in `error`, when `bytes` is not a zip
    // archive, an entry cannot be read, or the files would take more than
    // `maxTotalSize` bytes.
    static bool read(const QByteArray& bytes, std::vector<ZipEntry>* entries, QString* error,
                     qint64 maxTotalSize = qint64(512) << 20);
    // The archive of `entries`, in their order. False, with the reason, when
    // libzip refuses them (a repeated name, for instance).
    static bool write(const std::vector<ZipEntry>& entries, QByteArray* bytes, QString* error);
};

}  // namespace varnu
