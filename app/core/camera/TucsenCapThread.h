#pragma once

#include "settings/CamOpts.h"
#include "settings/UserOpts.h"

#include <QDate>
#include <QString>
#include <QThread>
#include <QVector>

#include <atomic>
#include <memory>

class CI_MainControl;
class LightCtrl;
class TucsenCamCtrl;
struct WestblotExperiment;

// One capture job of a western-blot experiment with the cooled camera: an
// optional marker picture under the blot light, then the chemiluminescence
// pictures (one single picture, or a manual series: normal, time- or
// integral-accumulated, or both). Every picture is corrected, decoded,
// optionally inverted and median filtered, kept in the camera controller's
// frameList and stored twice as a 16-bit TIFF; the experiment's row gets
// the exposure times and gains used. The owner closes the preview first and
// sets the controller's curExpName and curFuncFrameType.
//
// A picture copy that cannot be written ends the job (writeFailure names
// the folder). A picture without its station copy leaves frameList and the
// row's values; a row left with no stored picture is removed.
class TucsenCapThread : public QThread {
    Q_OBJECT
  public:
    explicit TucsenCapThread(QObject* parent = nullptr);
    ~TucsenCapThread() override;

    // true ends the job at the next picture; the record is still updated
    // and the camera suspended.
    void setStopFlag(bool stop);
    // After the thread finished: the warning about a picture copy that could
    // not be written; empty when every picture of the job was stored.
    QString writeFailure() const { return m_writeFailure; }

  protected:
    void run() override;

  private:
    // One picture appended to frameList; false when the job was stopped or
    // the camera gave no frame in time.
    bool pictureCap();
    // pictureCap, and the picture's place among the row's values.
    bool takePicture();
    void medianFilter(uchar* picture);
    void normalCap();
    void timeAccCap();
    void inteAccCap();
    void timeAndInteAccCap();
    // The manual series: absolute entry times, or their differences.
    void captureSeries(bool differences, bool save);
    // The integral combination of the series, each picture with the
    // combined one before it, and their saves.
    void combineIntegral();
    void singleCap();
    void blendWithMarker(uchar* marker, uchar* picture);
    // Writes both copies of frameList[index]; false when the job has a
    // picture that could not be written (this one or an earlier one).
    bool savePicture(int index);
    void markUnstored(int index);
    // The values of the next picture: "<exposure>," and "<gain>," for the
    // row's texts.
    void recordExposure(int exposure, int gain);
    // Drops the pictures that were not stored, then updates (or, with no
    // picture stored after a failed write, removes) the row.
    void finishRecord();
    bool ended() const { return stopFlag || m_noFrame || m_writeFailed; }
    size_t pictureBytes() const;

    CI_MainControl* m_mainControl;
    LightCtrl* m_lightCtrl;
    std::atomic<bool> stopFlag{false};
    bool invertFlag = false;
    unsigned short dataOffset = 0;
    std::unique_ptr<WestblotExperiment> curExperiment;

    TucsenCamCtrl* m_camCtrl;
    // The settings files, read by this thread alone.
    CamOpts m_camOpt;
    UserOpts m_userOpt;
    bool m_markerTaken = false;
    bool m_noFrame = false;
    QDate m_folderDate;
    QString m_storagePath;

    struct PictureValues {
        int exposure;
        int gain;
        bool dropped;
    };
    // In the order they were recorded; a stopped picture keeps its values.
    QVector<PictureValues> m_values;
    // For each picture of frameList its index in m_values (-1: the blend).
    QVector<int> m_valuesOfPicture;
    // Indices in frameList of pictures a failed write left without a copy.
    QVector<int> m_unstored;
    int m_picturesStored = 0;
    bool m_writeFailed = false;
    QString m_writeFailure;
};
