#pragma once

#include <QByteArray>
#include <QString>

namespace varnu {

// A picture file made ready for a document: PNG bytes with 8-bit samples,
// its size in pixels and its resolution in dots per inch.
struct DocumentPicture {
    QByteArray png;
    int width = 0;
    int height = 0;
    double dpiX = 96.0;
    double dpiY = 96.0;
};

// Reads a TIFF, PNG, BMP or JPEG file of 8- or 16-bit samples (grey, colour,
// with or without alpha) and encodes it as PNG; 16-bit samples are scaled to
// 8 bits over their full range. The resolution comes from the file's own
// resolution fields, 96 dpi when it has none. False, with the reason, when the
// path is not a readable picture of those kinds.
bool loadDocumentPicture(const QString& path, DocumentPicture* picture, QString* error);

// The resolution a picture file states, in dots per inch; false when the
// file states none that can be used.
bool pictureResolution(const QByteArray& file, double* dpiX, double* dpiY);

}  // namespace varnu
