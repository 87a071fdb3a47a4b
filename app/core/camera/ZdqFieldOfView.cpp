#include "camera/ZdqFieldOfView.h"

#include "base/Enumerations.h"

#include <QtGlobal>

namespace ZdqFieldOfView {

QSize window(int machineName) {
    switch (machineName) {
        case Varnu_320:
            return QSize(1064, 850);
        case Varnu_520:
        case Varnu_550:
            return QSize(2592, 1944);
        default:
            return QSize(0, 0);
    }
}

int addressingMode(int machineName, int resolution) {
    switch (resolution) {
        case 0:
            return 0;
        case 1:
            return 1;
        case 2:
            return 3;
        case 3:
            return 4;
        default:
            break;
    }
    if (machineName == Varnu_320) {
        qFatal("Unknow ZdqPelion1MResolution.");
    }
    qFatal("Unknow ZdqPelion5MResolution.");
    return 0;
}

int addressingStep(int machineName, int resolution) {
    const int mode = addressingMode(machineName, resolution);
    return mode == 0 ? 1 : mode == 1 ? 2 : mode == 3 ? 4 : 8;
}

QSize frameSize(int machineName, int resolution) {
    const int step = addressingStep(machineName, resolution);
    const QSize size = window(machineName);
    return QSize(size.width() / step, size.height() / step);
}

}  // namespace ZdqFieldOfView
