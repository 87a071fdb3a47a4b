#include "camera/TucsenCamCtrl.h"

#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex instanceMutex;
}  // namespace

TucsenCamCtrl* TucsenCamCtrl::getInstance() {
    QMutexLocker lock(&instanceMutex);
    static TucsenCamCtrl* instance = new TucsenCamCtrl;
    return instance;
}

TucsenCamCtrl::TucsenCamCtrl() = default;
TucsenCamCtrl::~TucsenCamCtrl() = default;
