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
