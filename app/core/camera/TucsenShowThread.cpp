#include "camera/TucsenShowThread.h"

#include "camera/TucsenCamCtrl.h"

#include <QMutexLocker>

namespace {

// Longest wait for a frame before stopFlag is looked at again.
constexpr unsigned long kFrameWaitMs = 20;

}  // namespace

TucsenShowThread::TucsenShowThread(QObject* parent)
    : QThread(parent), m_camCtrl(TucsenCamCtrl::getInstance()) {}

void TucsenShowThread::run() {
    TucsenCamCtrl* ctrl = m_camCtrl;
    while (!ctrl->stopFlag) {
        QMutexLocker lock(&ctrl->mutex);
        while (!ctrl->newFrameFlag && !ctrl->stopFlag) {
            ctrl->frameReady.wait(&ctrl->mutex, kFrameWaitMs);
        }
        if (ctrl->stopFlag) {
            return;
        }
        swapTemp = ctrl->showBuffer;
        ctrl->showBuffer = ctrl->readyBuffer;
        ctrl->readyBuffer = swapTemp;
        swapTemp = nullptr;
        ctrl->newFrameFlag = false;
        if (ctrl->decodeRaw2Image(ctrl->showBuffer, ctrl->imageBuffer) == 0) {
            emit updateImg();
        }
    }
}
