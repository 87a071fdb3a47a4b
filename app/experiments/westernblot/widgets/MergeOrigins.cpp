#include "MergeOrigins.h"

#include "WesternBlot_FuncsFrameType.h"

#include <QRegularExpression>
#include <QtGlobal>

namespace MergeOrigins {

namespace {

[[noreturn]] void unknownType() {
    qFatal("Unknow WesternBlot_FuncsFrameType.");
}

}  // namespace

int capturedCount(int funcsFrameType, const QString& recordedExposures) {
    const int exposures = recordedExposures.split(QLatin1Char(','), Qt::SkipEmptyParts).size();
    switch (funcsFrameType) {
        case WesternBlot_SingleCapture:
            // Marker and picture are followed by their blend.
            return exposures >= 2 ? exposures + 1 : exposures;
        case WesternBlot_ManualCapture:
            return exposures;
        default:
            unknownType();
    }
}

int countFromSettings(int funcsFrameType, int capCount, bool wbMarker) {
    switch (funcsFrameType) {
        case WesternBlot_SingleCapture:
            return wbMarker ? 1 : 3;
        case WesternBlot_ManualCapture:
            return wbMarker ? capCount : capCount + 1;
        default:
            unknownType();
    }
}

QStringList originNames(const QStringList& names, int count) {
    static const QRegularExpression captured(
        QStringLiteral("^\\d\\d-\\d\\d-\\d\\d-\\d\\d\\d\\.tif$"));
    QStringList origins;
    for (const QString& name : names) {
        if (origins.size() >= count) {
            break;
        }
        if (captured.match(name).hasMatch()) {
            origins << name;
        }
    }
    return origins;
}

}  // namespace MergeOrigins
