#include "camera/ZdqCaptureThread.h"

#include "camera/GelPictureFiles.h"
#include "camera/PictureCopies.h"
#include "camera/ScreenBlend.h"
#include "camera/ZdqCameraCtrl.h"
#include "camera/ZdqFieldOfView.h"
#include "controller/CI_MainControl.h"
#include "database/Varnu_ExperimentDB.h"
#include "settings/SettingsNotSaved.h"
#include "settings/StoragePathDefault.h"

#include <QDir>
#include <QRegularExpression>
#include <QtDebug>

#include <opencv2/core.hpp>

#include <vector>

namespace {

constexpr int kPictureDpi = 600;

// The resolution list's text of the nominal size ("266*212", "1296x972")
// written with the picture's own size.
QString sizeText(const QString& nominal, int width, int height) {
    static const QRegularExpression pattern(QStringLiteral("^\\d+(\\D+)\\d+$"));
    const QRegularExpressionMatch match = pattern.match(nominal);
    const QString separator = match.hasMatch() ? match.captured(1) : QStringLiteral("*");
    return QString::number(width) + separator + QString::number(height);
}

}  // namespace

ZdqCaptureThread::ZdqCaptureThread(QObject* parent)
    : QThread(parent),
      controller(CI_MainControl::getInstance()),
      m_experimentDate(QDate::currentDate()) {}

ZdqCaptureThread::~ZdqCaptureThread() {
    setStopFlag(true);
    wait();
}

void ZdqCaptureThread::setAccCapture(bool accumulate) {
    accCapture = accumulate;
}

void ZdqCaptureThread::setExpTime(int milliseconds) {
    expTime = milliseconds;
}

void ZdqCaptureThread::setStopFlag(bool stop) {
    stopRequested = stop;
}

void ZdqCaptureThread::setExperiment(const QUuid& uuid, const QDate& date) {
    m_experimentUuid = uuid;
    m_experimentDate = date;
}

int ZdqCaptureThread::exposureUsed() const {
    return expTime != 0 ? expTime : controller->camOpt.zdqCurrentCamSet.Exposure;
}

bool ZdqCaptureThread::connectCamera() {
    ZdqCameraCtrl* camera = controller->zdqCameraCtrl;
    m_access = camera->cameraAccess();
    if (m_access != ZdqCameraCtrl::Access::Ready) {
        return false;
    }
    controller->camOpt.loadZdqCurrentCamSet();
    const ZdqCamSet set = controller->camOpt.zdqCurrentCamSet;
    camera->ZDQ_SetParam(0, ZDQ_EXPOSURE, exposureUsed());
    camera->ZDQ_SetParam(0, ZDQ_RED, set.Gain);
    camera->ZDQ_SetParam(0, ZDQ_BRIGHTNESS, set.BrightNess);
    camera->ZDQ_SetParam(0, ZDQ_CONTRAST, set.Contrast);
    camera->ZDQ_SetParam(0, ZDQ_GAMMA, set.Gamma);
    camera->ZDQ_SetParam(0, ZDQ_MIRROR, set.Mirror ? 1 : 0);
    camera->ZDQ_SetParam(0, ZDQ_FLIP, set.Flip ? 1 : 0);
    // Pictures are 8 bits a sample, one byte a pixel in the frame buffer,
    // also from a camera whose stored settings send 16-bit data (a camera
    // without 16-bit data refuses the switch).
    camera->ZDQ_SetData16Bits(0, false);
    setCaptureFieldOfView(0, set.Resolution);
    // What the camera takes at this field of view may be less than was asked.
    int exposure = 0;
    m_exposureTaken =
        camera->ZDQ_GetParam(0, ZDQ_EXPOSURE, &exposure) == 1 ? exposure : exposureUsed();
    if (m_exposureTaken != exposureUsed()) {
        qDebug() << "exposure asked" << exposureUsed() << "ms, taken" << m_exposureTaken << "ms.";
    }
    int width = 0;
    int height = 0;
    camera->ZDQ_CaptureGetSize(0, &width, &height);
    if (width <= 0 || height <= 0) {
        return false;
    }
    // Every frame of one picture has the size of the first.
    if (m_framesTaken > 0 && (width != frameWidth || height != frameHeight)) {
        return false;
    }
    frameWidth = width;
    frameHeight = height;
    return true;
}

void ZdqCaptureThread::setCaptureFieldOfView(int deviceIndex, int resolution) {
    controller->camOpt.loadZdqCurrentCamSet();
    const int machine = controller->machineName;
    const QSize window = ZdqFieldOfView::window(machine);
    const int mode = ZdqFieldOfView::addressingMode(machine, resolution);
    controller->zdqCameraCtrl->ZDQ_CaptureSetFieldOfView(deviceIndex, ZdqFieldOfView::kColumnStart,
                                                         ZdqFieldOfView::kRowStart, window.width(),
                                                         window.height(), mode, mode);
}

bool ZdqCaptureThread::picCapture(uchar* buffer) {
    qDebug() << "picCapture.";
    if (controller->zdqCameraCtrl->ZDQ_CaptureRawData(0, buffer) != 1) {
        return false;
    }
    m_framesTaken = 1;
    return true;
}

bool ZdqCaptureThread::accPicCapture(uchar* accumulated) {
    qDebug() << "accPicCapture.";
    ZdqCameraCtrl* camera = controller->zdqCameraCtrl;
    const size_t count = static_cast<size_t>(frameWidth) * static_cast<size_t>(frameHeight);
    std::vector<uchar> fresh(count);
    if (camera->ZDQ_CaptureRawData(0, accumulated) != 1) {
        return false;
    }
    m_framesTaken = 1;
    controller->camOpt.loadCamOpt(ZdqCurrent_SignalAccNum);
    const int frames = controller->camOpt.zdqCurrentCamSet.SignalAccNum;
    for (int i = 1; i < frames && !stopRequested; ++i) {
        camera->ZDQ_UnInit();
        if (!connectCamera()) {
            qWarning() << "accPicCapture: the camera is gone after" << m_framesTaken << "frames.";
            break;
        }
        if (camera->ZDQ_CaptureRawData(0, fresh.data()) != 1) {
            qWarning() << "accPicCapture: frame" << i + 1 << "failed; left out.";
            continue;
        }
        screenBlend(accumulated, fresh.data(), count);
        ++m_framesTaken;
    }
    return true;
}

PictureCopies ZdqCaptureThread::savePicture(const uchar* buffer, int* number) {
    UserOpts& options = controller->userOpt;
    options.loadUserOpt(UserOpt_curExpNum);
    const int counter = options.curExpNum;
    const cv::Mat frame(frameHeight, frameWidth, CV_8UC1, const_cast<uchar*>(buffer));
    cv::Mat rotated;
    cv::flip(frame, rotated, -1);
    const QString folder1 = GelPictureFiles::stationFolder(m_experimentDate);
    const QString folder2 =
        GelPictureFiles::storageFolder(storagePathOrDefault(options), m_experimentDate);
    // The day's number, or the next one whose name no picture has (another
    // station may keep the same storage path).
    int next = counter;
    const PictureCopies copies =
        writePictureCopies(folder1, folder2, rotated, kPictureDpi, [&]() -> QString {
            *number = GelPictureFiles::freeNumber(folder1, folder2, next);
            if (*number < 0) {
                return QString();
            }
            next = *number + 1;
            return GelPictureFiles::fileName(*number);
        });
    if (copies.stationCopy && *number > counter) {
        options.curExpNum = *number;
        if (!options.saveUserOpt(UserOpt_curExpNum)) {
            postSettingsNotSaved();
        }
    }
    return copies;
}

void ZdqCaptureThread::reportWriteFailure(const QString& folder) {
    qWarning() << "capture: the picture could not be written to" << folder;
    m_writeFailure = tr("The picture could not be written to the folder %1.")
                         .arg(QDir::toNativeSeparators(folder));
    controller->zdqCameraCtrl->postWarning(m_writeFailure);
}

void ZdqCaptureThread::updateRecord(int number) {
    Varnu_ExperimentDB* store = controller->varnuExperimentDB;
    lastRecord = store->loadByUuid(m_experimentUuid);
    if (!lastRecord) {
        qWarning() << "no experiment row for" << controller->zdqCameraCtrl->curExpName;
        return;
    }
    lastRecord->name = QStringLiteral("Varnu") + GelPictureFiles::numberText(number);
    lastRecord->resolution = sizeText(lastRecord->resolution, frameWidth, frameHeight);
    lastRecord->exposureTime = QString::number(m_exposureTaken) + QStringLiteral(",");
    lastRecord->gain =
        QString::number(controller->camOpt.zdqCurrentCamSet.Gain) + QStringLiteral(",");
    store->updateCapturedPicture(*lastRecord);
}

void ZdqCaptureThread::run() {
    ZdqCameraCtrl* camera = controller->zdqCameraCtrl;
    m_captured = false;
    m_framesTaken = 0;
    m_writeFailure.clear();
    const bool connected = connectCamera();
    delete[] camera->frameBuffer;
    camera->frameBuffer = nullptr;
    camera->frameWidth = 0;
    camera->frameHeight = 0;

    uchar* buffer = nullptr;
    bool taken = false;
    if (connected) {
        buffer = new uchar[static_cast<size_t>(frameWidth) * static_cast<size_t>(frameHeight)];
        taken = accCapture ? accPicCapture(buffer) : picCapture(buffer);
    }
    camera->ZDQ_UnInit();

    if (!taken) {
        delete[] buffer;
        controller->varnuExperimentDB->deleteExperiment(m_experimentUuid);
        camera->postWarning(connected ? tr("ZdqCamera capture error.")
                            : m_access == ZdqCameraCtrl::Access::Ready
                                ? tr("ZdqCamera connect error.")
                                : ZdqCameraCtrl::accessWarning(m_access));
        return;
    }
    int number = 0;
    const PictureCopies copies = savePicture(buffer, &number);
    if (!copies.stationCopy) {
        // No picture the row could name: the capture did not happen.
        delete[] buffer;
        controller->varnuExperimentDB->deleteExperiment(m_experimentUuid);
        reportWriteFailure(copies.failedFolder);
        return;
    }
    camera->frameWidth = frameWidth;
    camera->frameBuffer = buffer;
    camera->frameHeight = frameHeight;
    updateRecord(number);
    m_captured = true;
    if (!copies.complete()) {
        reportWriteFailure(copies.failedFolder);
    }
}
