#pragma once

#include <QString>
#include <QStringList>

// Which pictures of a western-blot experiment its capture produced (the
// merge dialog protects them from deletion).
namespace MergeOrigins {

// Pictures a capture of `funcsFrameType` (0 single, 1 manual) produced, from
// the exposures its record lists ("100,2000," for a marker and one picture):
// one per exposure, plus the blend of marker and picture that a single
// capture with a marker adds. An unknown type is the fatal message
// "Unknow WesternBlot_FuncsFrameType.".
int capturedCount(int funcsFrameType, const QString& recordedExposures);

// The same from the settings, for an experiment without a record: a manual
// series of `capCount` pictures or a single picture, each with a marker
// (and for the single capture the blend) unless `wbMarker` is set.
int countFromSettings(int funcsFrameType, int capCount, bool wbMarker);

// The first `count` of `names` (in their order) that carry a capture's name
// "hh-mm-ss-zzz.tif"; a merged picture's "hh_mm_ss_zzz.tif" is never one,
// even where it sorts first (a merge after midnight).
QStringList originNames(const QStringList& names, int count);

}  // namespace MergeOrigins
