#include "camera/ZdqPreviewThread.h"

#include "camera/ZdqCameraCtrl.h"
#include "camera/ZdqFieldOfView.h"
#include "controller/CI_MainControl.h"

ZdqPreviewThread::ZdqPreviewThread(QObject* parent)
    : QThread(parent), controller(CI_MainControl::getInstance()) {}

void ZdqPreviewThread::setPreviewWindow(ZDQWindow window, int width, int height) {
    previewWindow = window;
    previewWidth = width;
    previewHeight = height;
}

void ZdqPreviewThread::setPreviewFieldOfView(int deviceIndex, int resolution) {
    controller->camOpt.loadZdqCurrentCamSet();
    const int machine = controller->machineName;
    const QSize window = ZdqFieldOfView::window(machine);
    const int mode = ZdqFieldOfView::addressingMode(machine, resolution);
    controller->zdqCameraCtrl->ZDQ_PreviewSetFieldOfView(deviceIndex, ZdqFieldOfView::kColumnStart,
                                                         ZdqFieldOfView::kRowStart, window.width(),
                                                         window.height(), mode, mode);
    // The sensor takes the window once the preview runs.
    if (m_started) {
        tellExposureRange(deviceIndex);
    }
}

void ZdqPreviewThread::tellExposureRange(int deviceIndex) {
    // A skipping sensor mode has shorter frames, and so shorter exposures.
    ZdqCameraCtrl* camera = controller->zdqCameraCtrl;
    int minimum = 0;
    int maximum = 0;
    if (camera->ZDQ_GetParamRange(deviceIndex, ZDQ_EXPOSURE, &minimum, &maximum) == 1) {
        emit camera->exposureRangeFound(minimum, maximum);
    }
}

void ZdqPreviewThread::setOrder(std::shared_future<void> previous,
                                std::shared_ptr<std::promise<void>> done) {
    m_previous = std::move(previous);
    m_done = std::move(done);
}

void ZdqPreviewThread::run() {
    if (m_previous.valid()) {
        m_previous.wait();
    }
    startPreview();
    if (m_done) {
        m_done->set_value();
        m_done.reset();
    }
}

void ZdqPreviewThread::startPreview() {
    ZdqCameraCtrl* camera = controller->zdqCameraCtrl;
    const ZdqCameraCtrl::Access access = camera->cameraAccess();
    if (access != ZdqCameraCtrl::Access::Ready) {
        camera->postWarning(ZdqCameraCtrl::accessWarning(access));
        return;
    }
    emit camera->cameraFound();
    controller->camOpt.loadZdqCurrentCamSet();
    const ZdqCamSet set = controller->camOpt.zdqCurrentCamSet;
    camera->ZDQ_SetParam(0, ZDQ_EXPOSURE, set.Exposure);
    camera->ZDQ_SetParam(0, ZDQ_RED, set.Gain);
    camera->ZDQ_SetParam(0, ZDQ_BRIGHTNESS, set.BrightNess);
    camera->ZDQ_SetParam(0, ZDQ_CONTRAST, set.Contrast);
    camera->ZDQ_SetParam(0, ZDQ_GAMMA, set.Gamma);
    camera->ZDQ_SetParam(0, ZDQ_MIRROR, set.Mirror ? 1 : 0);
    camera->ZDQ_SetParam(0, ZDQ_FLIP, set.Flip ? 1 : 0);
    setPreviewFieldOfView(0, set.Resolution);
    camera->ZDQ_PreviewSetMode(0, 0);
    camera->ZDQ_PreviewSetPos(0, previewWindow, 0, 0, previewWidth, previewHeight);
    if (camera->ZDQ_PreviewStart(0, true) == 1) {
        m_started = true;
        tellExposureRange(0);
    }
}
