#pragma once

#include <QString>
#include <QStringList>

struct VarnuExperiment;

// The picture files of a gel/UV experiment: its own file in the record's
// folder (the name without the leading "Varnu", ".tif"), and the copy below
// the storage path in the folder of the record's date.
namespace ExperimentPictures {

// Both paths; empty when the record's name carries no picture name. The
// copy is left out when `storagePath` is empty.
QStringList pictureFiles(const VarnuExperiment& record, const QString& storagePath);

struct Removal {
    QStringList removed;  // full paths of the files really removed
    QStringList failed;   // full paths that exist and could not be removed
};
// Removes the files of `pictureFiles` that exist.
Removal removePictures(const VarnuExperiment& record, const QString& storagePath);

}  // namespace ExperimentPictures
