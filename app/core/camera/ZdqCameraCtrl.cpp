#include "camera/ZdqCameraCtrl.h"

#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex instanceMutex;
}  // namespace

ZdqCameraCtrl* ZdqCameraCtrl::getInstance() {
    QMutexLocker lock(&instanceMutex);
    static ZdqCameraCtrl* instance = new ZdqCameraCtrl;
    return instance;
}

ZdqCameraCtrl::ZdqCameraCtrl() = default;
ZdqCameraCtrl::~ZdqCameraCtrl() = default;
