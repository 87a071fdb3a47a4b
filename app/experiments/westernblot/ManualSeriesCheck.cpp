#include "ManualSeriesCheck.h"

#include "camera/TucsenPictureOps.h"

bool timesIncrease(const QList<QStringList>& entries) {
    int previous = 0;
    for (const QStringList& entry : entries) {
        const int time = TucsenPictureOps::entryTimeMs(entry);
        if (time <= previous) {
            return false;
        }
        previous = time;
    }
    return true;
}

int firstEntryWithoutTime(const QList<QStringList>& entries) {
    for (int i = 0; i < entries.size(); ++i) {
        const QStringList& entry = entries.at(i);
        if (entry.size() < 3 || TucsenPictureOps::entryTimeMs(entry) <= 0) {
            return i + 1;
        }
    }
    return 0;
}
