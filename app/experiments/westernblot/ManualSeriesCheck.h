#pragma once

#include <QList>
#include <QStringList>

// True when each entry of a manual series (minutes, seconds, milliseconds)
// is a longer time than the one before it, the first longer than 0: a
// time-accumulated series exposes each picture for the difference.
bool timesIncrease(const QList<QStringList>& entries);

// The number (from 1) of the first entry of a manual series that sets no
// exposure time: fewer than three texts, or a time of 0; 0 when every
// entry sets one.
int firstEntryWithoutTime(const QList<QStringList>& entries);
