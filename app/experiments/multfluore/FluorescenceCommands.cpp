#include "FluorescenceCommands.h"

#include "serial/DarkroomEnums.h"

#include <QtGlobal>

namespace {
// The source numbers of the controller: a source n is switched on by n and
// off by 0xC0 + n.
constexpr int kRedSource = 0x07;
constexpr int kSourceCount = 4;
constexpr int kOffCode = 0xC0;
// The leading byte of a frame that switches one source on.
constexpr int kSelectOne = 0x01;
// Alone, switches every source off.
constexpr int kAllOff = 0xC1;
// The wheel position of NoFilter; the others follow in FilterType order.
constexpr int kFirstFilterPosition = 0x11;
}  // namespace

QList<int> multLightCommandData(int lightType) {
    switch (lightType) {
        case MultNoLight:
            return {kAllOff};
        case RedLight:
        case GreenLight:
        case BlueLight:
        case NearIRLight: {
            const int chosen = kRedSource + (lightType - RedLight);
            QList<int> data{kSelectOne};
            for (int source = kRedSource; source < kRedSource + kSourceCount; ++source) {
                if (source != chosen) {
                    data.append(kOffCode + source);
                }
            }
            data.append(chosen);
            return data;
        }
        default:
            qFatal("Unknow Mult_LightType.");
    }
}

int filterCommandData(int filterType) {
    if (filterType < NoFilter || filterType > Filter690) {
        qFatal("Unknow FilterType.");
    }
    return kFirstFilterPosition + filterType;
}
