#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

// A picture file names its size in its header; decoding it allocates that
// size at once, however small the file is (a few hundred bytes can claim
// gigabytes). Every picture the station reads is checked against these
// limits from its header before it is decoded.
namespace pictures {

// A side above this, or more pixels than kMaxPixels, is refused.
constexpr int kMaxSide = 32767;
constexpr qint64 kMaxPixels = 100LL * 1000 * 1000;

enum class SizeCheck {
    Fits,      // within the limits, or a header that names no size (the
               // decoder then fails on it as on any unreadable file)
    TooLarge,  // refused without decoding
};

// Whether `size` is within the limits.
bool withinLimits(const QSize& size);

// The size the file's header names (invalid when it names none), checked
// against the limits; nothing is decoded.
SizeCheck checkFile(const QString& path, QSize* headerSize = nullptr);

// The picture of a file for display: null when it cannot be read, and null
// with `check` TooLarge (and a log line) when its header is over the limits.
QImage loadForDisplay(const QString& path, SizeCheck* check = nullptr);

// The message that tells the user which pictures were not shown for their
// size (file names, in order).
QString tooLargeMessage(const QStringList& fileNames);

}  // namespace pictures
