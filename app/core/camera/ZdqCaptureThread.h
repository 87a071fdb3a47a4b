// Takes one gel/UV picture with the USB camera: opens the SDK, programs the
// camera, captures one frame or accumulates several (screen blend), writes
// the picture rotated by 180 degrees as an uncompressed 600 dpi TIFF below the
// station directory and below the storage path, closes the SDK, hands the
// frame to ZdqCameraCtrl and completes the experiment row.
//
// The picture file takes the day's number, or the next one no picture of
// either folder has; the row gets that number in its name, the picture's own
// size, and the exposure the camera took (it may take less than was asked).
//
// Without a camera, or when the first frame fails, nothing is written, the
// row is removed, the user is warned (the thread does not wait for it) and
// the controller holds no frame. So too when the station copy cannot be
// written, with a warning that names the folder. When only the copy below
// the storage path cannot be written, the capture stands with its station
// copy and the user is warned all the same. A further frame of an
// accumulation that fails is left out of the blend.
#pragma once

#include <QDate>
#include <QThread>
#include <QUuid>
#include <atomic>
#include <memory>

#include "camera/ZdqCameraCtrl.h"

class CI_MainControl;
struct PictureCopies;
struct VarnuExperiment;

class ZdqCaptureThread : public QThread {
    Q_OBJECT
  public:
    explicit ZdqCaptureThread(QObject* parent = nullptr);
    ~ZdqCaptureThread() override;

    void setAccCapture(bool accumulate);
    // The exposure found by automatic exposure (ms); 0 uses the stored one.
    void setExpTime(int milliseconds);
    // Ends an accumulation before its next frame; safe from any thread.
    void setStopFlag(bool stop);
    // The experiment row the picture belongs to and the date of its folders.
    void setExperiment(const QUuid& uuid, const QDate& date);

    // After the thread finished: whether a picture was taken and stored.
    bool captured() const { return m_captured; }
    // Frames that went into the picture.
    int framesTaken() const { return m_framesTaken; }
    // The warning about a picture copy that could not be written; empty
    // when both were.
    QString writeFailure() const { return m_writeFailure; }

  protected:
    void run() override;

  private:
    bool connectCamera();
    void setCaptureFieldOfView(int deviceIndex, int resolution);
    bool picCapture(uchar* buffer);
    bool accPicCapture(uchar* accumulated);
    // Both copies under the first free number from the day's counter on,
    // which `number` receives; the counter follows a number that was taken.
    PictureCopies savePicture(const uchar* buffer, int* number);
    void reportWriteFailure(const QString& folder);
    void updateRecord(int number);
    int exposureUsed() const;

    CI_MainControl* controller;
    bool accCapture = false;
    std::atomic<bool> stopRequested{false};
    int expTime = 0;
    // The exposure the camera reads back after its field of view was set.
    int m_exposureTaken = 0;
    int frameWidth = 0;
    int frameHeight = 0;
    std::unique_ptr<VarnuExperiment> lastRecord;
    QUuid m_experimentUuid;
    QDate m_experimentDate;
    bool m_captured = false;
    int m_framesTaken = 0;
    // Whether the camera could serve the last connection.
    ZdqCameraCtrl::Access m_access = ZdqCameraCtrl::Access::Ready;
    QString m_writeFailure;
};
