#pragma once

#include <QList>
#include <QStringList>

// True when each entry of a manual series (minutes, seconds, milliseconds)
// is a longer time than the one before it, the first longer than 0: a
// time-accumulated series exposes each picture for the difference.
bool timesIncrease(const QList<QStringList>& entries);
