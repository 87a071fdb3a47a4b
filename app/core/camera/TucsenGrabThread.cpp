#include "camera/TucsenGrabThread.h"

#include "camera/TucsenCamCtrl.h"

#include <QMutexLocker>

namespace {

// A failed read (a suspended camera answers at once) is tried again after
// this pause, so a suspended camera does not keep a core busy.
constexpr unsigned long kRetryPauseMs = 5;

}  // namespace

TucsenGrabThread::TucsenGrabThread(QObject* parent)
    : QThread(parent), m_camCtrl(TucsenCamCtrl::getInstance()) {}

void TucsenGrabThread::run() {
    TucsenCamCtrl* ctrl = m_camCtrl;
    while (!ctrl->stopFlag) {
        if (ctrl->grabBuffer == nullptr || ctrl->getRawData(ctrl->grabBuffer, ctrl->rawSize) != 0) {
            QThread::msleep(kRetryPauseMs);
            continue;
        }
        QMutexLocker lock(&ctrl->mutex);
        swapTemp = ctrl->readyBuffer;
        ctrl->readyBuffer = ctrl->grabBuffer;
        ctrl->grabBuffer = swapTemp;
        swapTemp = nullptr;
        ctrl->newFrameFlag = true;
        ctrl->frameReady.wakeAll();
    }
}
