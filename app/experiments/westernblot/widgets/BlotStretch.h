// The histogram stretch of the western-blot pictures: one 16-bit level, and
// a stored picture as the screen shows it stretched.
#pragma once

#include <QImage>
#include <QPair>
#include <QtGlobal>

#include <vector>

// One 16-bit level of the histogram stretch: below `minimum` 0, above
// `maximum` 65535, between them the linear map of minimum..maximum onto
// 0..65535, rounded half up. An empty range (minimum equal to maximum) is a
// step: below it black, from it on white.
quint16 stretchedLevel(int value, int minimum, int maximum);

// stretchedLevel of every 16-bit level, with minimum..maximum ordered and
// kept within 0..65535 first: one look-up for all samples of a picture.
std::vector<quint16> stretchTable(int minimum, int maximum);

// The lowest and the highest sample of a 16-bit grey picture; (65535, 0)
// for any other picture.
QPair<int, int> automaticLevels(const QImage& picture);

// A 16-bit grey picture as 8-bit grey, each sample stretched over
// minimum..maximum (ordered and kept within 0..65535 first) and shown by its
// high byte. Any other picture is returned as it is.
QImage stretchedForScreen(const QImage& picture, int minimum, int maximum);
