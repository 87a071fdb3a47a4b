#pragma once

#include <QDateTime>
#include <QString>

// Demonstration experiments for a station that has made none yet: gel/UV
// experiments and a western-blot experiment with their records in
// DataBase/Experiment.db and their pictures in both picture folders (below
// Pictures/ and below the storage path), laid out as the capture threads
// lay them out. They are dated before `now`'s day, so they never take a
// daily number the gel/UV page will give today.
struct DemoExperiments {
    int gelUvRecords = 0;  // records added by this run
    int westernBlotRecords = 0;
    int pictures = 0;  // files written by this run
    QString error;     // empty on success
};

// Seeds the station directory `stationDir`. Experiments already there (by
// name) are left as they are, so running it again adds nothing. An empty
// storage path is set to <station>/UserImages first.
DemoExperiments seedDemoExperiments(const QString& stationDir, const QDateTime& now);
