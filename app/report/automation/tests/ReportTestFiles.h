#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// Files for the report tests, made and read independently of the word
// processor: zip packages through libzip, pictures through OpenCV, the text
// of a bookmark read from document XML with a plain XML reader.
namespace reporttest {

// Every file of a zip archive by name; empty when it cannot be read.
QMap<QString, QByteArray> readZip(const QString& path);
// Writes a zip archive of the files (deflated); false when that fails.
bool writeZip(const QString& path, const QMap<QString, QByteArray>& files);

// The built report template (documents/report.dotx of the build).
QString builtTemplatePath();
// Copies the built template into `station`/documents/report.dotx.
bool installTemplate(const QString& station);

// A picture of `width` x `height` grey samples written with OpenCV:
// `format` is the file suffix ("tif", "png", "bmp", "jpg"), `depth` 8 or 16,
// TIFFs carry `dpi` as their resolution. Sample (x, y) = pictureSample(...).
bool writeGreyPicture(const QString& path, int width, int height, int depth, int dpi = 600);
int pictureSample(int x, int y, int depth);

// The text between the bookmark's start and end in word/document.xml:
// w:t texts, w:tab as "\t", w:br as "\n". `found` false when there is no
// such bookmark.
QString bookmarkText(const QByteArray& documentXml, const QString& name, bool* found = nullptr);
// The number of times `needle` occurs in `haystack`.
int occurrences(const QByteArray& haystack, const QByteArray& needle);

}  // namespace reporttest
