#include "SetExposureThread.h"

#include "camera/ZdqCameraCtrl.h"
#include "controller/CI_MainControl.h"

std::mutex SetExposureThread::s_orderMutex;
quint64 SetExposureThread::s_lastTicket = 0;

SetExposureThread::SetExposureThread(int exposure, QObject* parent)
    : QThread(parent),
      mainControl(CI_MainControl::getInstance()),
      exposure(exposure),
      ticket(takeTicket()) {}

quint64 SetExposureThread::takeTicket() {
    std::lock_guard<std::mutex> lock(s_orderMutex);
    return ++s_lastTicket;
}

void SetExposureThread::setExposureNow(int exposure) {
    std::lock_guard<std::mutex> lock(s_orderMutex);
    ++s_lastTicket;
    CI_MainControl::getInstance()->zdqCameraCtrl->ZDQ_SetParam(0, ZDQ_EXPOSURE, exposure);
}

void SetExposureThread::run() {
    std::lock_guard<std::mutex> lock(s_orderMutex);
    if (ticket != s_lastTicket) {
        return;
    }
    mainControl->zdqCameraCtrl->ZDQ_SetParam(0, ZDQ_EXPOSURE, exposure);
}
