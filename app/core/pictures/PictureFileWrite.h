#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Files the user asks for (exports, saved pictures) are written whole or not
// at all (platform/FileSystem.h): the bytes go to a temporary file of the
// same folder, which is renamed over the target only once all of them are
// on the disk. A program that
// ends in the middle, a full disk or a file-size limit leaves the earlier file
// as it was, or none, and no temporary file.
namespace pictures {

// Writes `bytes` as the file `path`. False, with the reason in `error` when
// given, when it cannot be written whole.
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Encodes `picture` in `format` ("png", "bmp", "jpg"; when null, the one the
// suffix of `path` names) and writes it whole.
bool savePictureWhole(const QImage& picture, const QString& path, const char* format = nullptr,
                      QString* error = nullptr);

}  // namespace pictures
