#include "camera/TucsenCapThread.h"

#include "camera/PictureCopies.h"
#include "camera/TucsenCamCtrl.h"
#include "camera/TucsenImageHeader.h"
#include "camera/TucsenPictureFiles.h"
#include "camera/TucsenPictureOps.h"
#include "controller/CI_MainControl.h"
#include "database/Westblot_ExperimentDB.h"
#include "serial/LightCtrl.h"
#include "settings/StoragePathDefault.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMutexLocker>
#include <QtDebug>

#include <opencv2/core.hpp>

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

// Pictures are written at 600 dpi.
constexpr int kPictureDpi = 600;
constexpr int kBlotLightCommand = 0xF2;
const QList<int> kBlotLightOn = {0x01, 0x02};
const QList<int> kBlotLightOff = {0xC1};
// A picture whose frame has not come this long after its exposure ends
// without a picture (the camera stopped answering).
constexpr qint64 kFrameMarginMs = 10000;
constexpr unsigned long kRetryPauseMs = 5;

enum FuncsFrameType { SingleCapture = 0, ManualCapture = 1 };

}  // namespace

TucsenCapThread::TucsenCapThread(QObject* parent)
    : QThread(parent),
      m_mainControl(CI_MainControl::getInstance()),
      m_lightCtrl(LightCtrl::getInstance()),
      m_camCtrl(TucsenCamCtrl::getInstance()) {}

TucsenCapThread::~TucsenCapThread() = default;

void TucsenCapThread::setStopFlag(bool stop) {
    stopFlag = stop;
}

size_t TucsenCapThread::pictureBytes() const {
    return m_camCtrl->imageBufferSize();
}

void TucsenCapThread::run() {
    qDebug() << "TucsenCapThread start.";
    TucsenCamCtrl* camera = m_camCtrl;
    camera->resumeDevice();
    camera->clearFrameList();
    m_markerTaken = false;
    m_noFrame = false;
    m_values.clear();
    m_valuesOfPicture.clear();
    m_unstored.clear();
    m_picturesStored = 0;
    m_writeFailed = false;
    m_writeFailure.clear();
    curExperiment = m_mainControl->westblotExperimentDB->loadByName(camera->curExpName);
    if (!curExperiment) {
        qWarning() << "TucsenCapThread: no experiment named" << camera->curExpName;
        camera->suspendDevice();
        return;
    }
    // Both copies of the pictures go below the experiment's own date.
    m_folderDate = curExperiment->dateTime.date().isValid() ? curExperiment->dateTime.date()
                                                            : QDate::currentDate();
    m_storagePath = storagePathOrDefault(m_userOpt);

    m_camOpt.loadCamOpt(TucsenCurrent_Resolution);
    m_userOpt.loadUserOpt(UserOpt_WbMarker);
    const bool takeMarker = !m_userOpt.WbMarker;
    if (takeMarker) {
        int command = kBlotLightCommand;
        m_lightCtrl->sendCmd(command, kBlotLightOn);
        m_camOpt.loadTucsenCurrentCamSet();
        const TucsenCamSet& set = m_camOpt.tucsenCurrentCamSet;
        const int exposure = set.ExposurePre;
        const int gain = set.GainPre;
        recordExposure(exposure, gain);
        camera->setResolution(set.Resolution);
        camera->setCapturePara(exposure, gain,
                               TucsenPictureOps::pixelClockFor(exposure, set.PixelClock));
        invertFlag = false;
        m_markerTaken = takePicture();
        if (m_markerTaken && !stopFlag) {
            savePicture(camera->frameList.size() - 1);
        }
    }
    camera->suspendDevice();
    camera->resumeDevice();
    int command = kBlotLightCommand;
    m_lightCtrl->sendCmd(command, kBlotLightOff);

    m_camOpt.loadTucsenCurrentCamSet();
    switch (camera->curFuncFrameType) {
        case ManualCapture: {
            const TucsenCamSet& set = m_camOpt.tucsenCurrentCamSet;
            if (set.TimeAcc && set.InteAcc) {
                qDebug() << "timeAcc and inteAcc cap.";
                timeAndInteAccCap();
            } else if (set.TimeAcc) {
                qDebug() << "timeAcc cap.";
                timeAccCap();
            } else if (set.InteAcc) {
                qDebug() << "inteAcc cap";
                inteAccCap();
            } else {
                qDebug() << "normal cap.";
                normalCap();
            }
            break;
        }
        case SingleCapture:
            singleCap();
            break;
        default:
            qFatal("Unknow WesternBlot_FuncsFrameType.");
    }
    finishRecord();
    camera->suspendDevice();
}

void TucsenCapThread::singleCap() {
    if (m_writeFailed) {
        return;
    }
    TucsenCamCtrl* camera = m_camCtrl;
    const TucsenCamSet& set = m_camOpt.tucsenCurrentCamSet;
    m_userOpt.loadUserOpt(UserOpt_ExpTime);
    const int exposure = m_userOpt.ExpTime;
    const int gain = set.GainCap;
    recordExposure(exposure, gain);
    camera->setResolution(set.Resolution);
    camera->setCapturePara(exposure, gain,
                           TucsenPictureOps::pixelClockFor(exposure, set.PixelClock));
    invertFlag = true;
    if (!takePicture() || stopFlag) {
        return;
    }
    if (!savePicture(camera->frameList.size() - 1) || !m_markerTaken) {
        return;
    }
    const size_t bytes = pictureBytes();
    std::unique_ptr<uchar[]> blend(new uchar[bytes]);
    std::unique_ptr<uchar[]> picture(new uchar[bytes]);
    std::memcpy(blend.get(), camera->frameList.first(), bytes);
    std::memcpy(picture.get(), camera->frameList.last(), bytes);
    blendWithMarker(blend.get(), picture.get());
    camera->frameList.append(blend.release());
    m_valuesOfPicture.append(-1);
    savePicture(camera->frameList.size() - 1);
}

bool TucsenCapThread::takePicture() {
    if (!pictureCap()) {
        return false;
    }
    m_valuesOfPicture.append(m_values.size() - 1);
    return true;
}

bool TucsenCapThread::pictureCap() {
    TucsenCamCtrl* camera = m_camCtrl;
    const float exposure = camera->getExposure();
    qDebug() << "pictureCap:" << exposure;
    camera->setFlatfieldState(1);
    camera->setDefectCorrectionState(1);
    camera->calcDefectCorrection();
    if (camera->rawSize <= 0 || ended()) {
        qDebug() << "pictureCap quit.";
        return false;
    }
    const size_t bytes = pictureBytes();
    std::unique_ptr<uchar[]> raw(new uchar[static_cast<size_t>(camera->rawSize)]);
    std::unique_ptr<uchar[]> picture(new uchar[bytes]());
    m_userOpt.loadUserOpt(UserOpt_sampleImageBkColor);
    const qint64 boundMs = static_cast<qint64>(exposure > 0 ? exposure : 0) + kFrameMarginMs;
    QElapsedTimer waited;
    waited.start();
    while (!stopFlag) {
        TucsenImageHeader header;
        const bool read = camera->getRawData(raw.get(), camera->rawSize) == 0;
        if (read && camera->calcFlatfield(raw.get(), 1) != 0) {
            // The frame is worth more than its correction: keep it as read.
            qWarning() << "pictureCap: flat-field correction refused; the picture is kept "
                          "uncorrected.";
        }
        if (!read || camera->decodeRaw2Image(raw.get(), picture.get()) != 0 ||
            !TucsenImageHeader::read(picture.get(), bytes, &header)) {
            if (waited.elapsed() > boundMs) {
                qWarning() << "pictureCap: no frame from the camera.";
                m_noFrame = true;
                break;
            }
            QThread::msleep(kRetryPauseMs);
            continue;
        }
        qDebug() << "GetRawData success.";
        {
            QMutexLocker lock(&camera->mutex);
            camera->frameWidth = header.width;
            camera->frameHeight = header.height;
        }
        dataOffset = header.dataOffset;
        if (invertFlag && m_userOpt.sampleImageBkColor == 0) {
            TucsenPictureOps::invertHighBytes(picture.get(), bytes);
        }
        medianFilter(picture.get());
        camera->frameList.append(picture.release());
        return true;
    }
    qDebug() << "pictureCap quit.";
    return false;
}

void TucsenCapThread::medianFilter(uchar* picture) {
    qDebug() << "medianFilter.";
    TucsenPictureOps::medianFilter(picture, pictureBytes());
}

void TucsenCapThread::recordExposure(int exposure, int gain) {
    m_values.append({exposure, gain, false});
}

void TucsenCapThread::finishRecord() {
    TucsenCamCtrl* camera = m_camCtrl;
    std::sort(m_unstored.begin(), m_unstored.end(), std::greater<int>());
    for (int index : m_unstored) {
        delete[] camera->frameList.takeAt(index);
    }
    for (const PictureValues& values : m_values) {
        if (!values.dropped) {
            curExperiment->exposureTime += QString::number(values.exposure) + QLatin1Char(',');
            curExperiment->gain += QString::number(values.gain) + QLatin1Char(',');
        }
    }
    Westblot_ExperimentDB* store = m_mainControl->westblotExperimentDB;
    if (m_writeFailed && m_picturesStored == 0) {
        qWarning() << "capture: no picture of" << curExperiment->name
                   << "was stored; its row is removed.";
        store->deleteExperiment(curExperiment->uuid);
        return;
    }
    store->updateExperiment(*curExperiment);
}

void TucsenCapThread::captureSeries(bool differences, bool save) {
    TucsenCamCtrl* camera = m_camCtrl;
    const TucsenCamSet& set = m_camOpt.tucsenCurrentCamSet;
    int previous = 0;
    for (const QStringList& entry : m_userOpt.loadExpTimeList()) {
        if (m_writeFailed) {
            break;
        }
        const int time = TucsenPictureOps::entryTimeMs(entry);
        const int exposure = differences ? time - previous : time;
        previous = time;
        const int gain = set.GainCap;
        recordExposure(exposure, gain);
        camera->setCapturePara(exposure, gain,
                               TucsenPictureOps::pixelClockFor(exposure, set.PixelClock));
        camera->resetDevice();
        invertFlag = true;
        const bool taken = takePicture();
        if (stopFlag || !taken) {
            break;
        }
        if (save && !savePicture(camera->frameList.size() - 1)) {
            break;
        }
    }
}

void TucsenCapThread::normalCap() {
    captureSeries(false, true);
}

void TucsenCapThread::timeAccCap() {
    captureSeries(true, true);
}

void TucsenCapThread::inteAccCap() {
    captureSeries(false, false);
    combineIntegral();
}

void TucsenCapThread::timeAndInteAccCap() {
    captureSeries(true, false);
    combineIntegral();
}

void TucsenCapThread::combineIntegral() {
    TucsenCamCtrl* camera = m_camCtrl;
    const int first = m_markerTaken ? 1 : 0;
    for (int i = first; i < camera->frameList.size(); ++i) {
        if (i > first) {
            TucsenImageHeader header;
            if (TucsenImageHeader::read(camera->frameList.at(i - 1), pictureBytes(), &header)) {
                QMutexLocker lock(&camera->mutex);
                camera->frameWidth = header.width;
                camera->frameHeight = header.height;
                dataOffset = header.dataOffset;
            }
            TucsenPictureOps::multiplyHighBytes(camera->frameList.at(i),
                                                camera->frameList.at(i - 1), pictureBytes());
        }
        savePicture(i);
    }
}

void TucsenCapThread::blendWithMarker(uchar* marker, uchar* picture) {
    m_userOpt.loadUserOpt(UserOpt_sampleImageBkColor);
    TucsenImageHeader header;
    if (TucsenImageHeader::read(picture, pictureBytes(), &header)) {
        QMutexLocker lock(&m_camCtrl->mutex);
        m_camCtrl->frameWidth = header.width;
        m_camCtrl->frameHeight = header.height;
        dataOffset = header.dataOffset;
    }
    TucsenPictureOps::blendWithMarker(marker, picture, pictureBytes(),
                                      m_userOpt.sampleImageBkColor == 1);
}

bool TucsenCapThread::savePicture(int index) {
    if (m_writeFailed) {
        markUnstored(index);
        return false;
    }
    const QTime now = QTime::currentTime();
    const QString& experiment = m_camCtrl->curExpName;
    const QString folder1 = TucsenPictureFiles::stationFolder(m_folderDate, experiment);
    const QString folder2 =
        TucsenPictureFiles::storageFolder(m_storagePath, m_folderDate, experiment);
    const cv::Mat image =
        TucsenPictureOps::storedImage(m_camCtrl->frameList.at(index), pictureBytes());
    const PictureCopies copies = writePictureCopies(folder1, folder2, image, kPictureDpi, [&] {
        return TucsenPictureFiles::freeFileName(folder1, folder2, now);
    });
    if (copies.stationCopy) {
        ++m_picturesStored;
    } else {
        markUnstored(index);
    }
    if (copies.complete()) {
        return true;
    }
    qWarning() << "capture: the picture could not be written to" << copies.failedFolder;
    m_writeFailed = true;
    m_writeFailure = tr("The picture could not be written to the folder %1.")
                         .arg(QDir::toNativeSeparators(copies.failedFolder));
    return false;
}

void TucsenCapThread::markUnstored(int index) {
    m_unstored.append(index);
    const int values = m_valuesOfPicture.value(index, -1);
    if (values >= 0) {
        m_values[values].dropped = true;
    }
}
