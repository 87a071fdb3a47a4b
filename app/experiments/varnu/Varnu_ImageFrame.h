// The picture area of the gel/UV page: the live preview of the USB camera
// (drawn by the camera SDK into a PreviewSurface inside label_Cam), automatic
// exposure and focus, single and accumulated captures with their experiment
// rows, the captured frame with its information overlay, the export of that
// frame and its report document.
//
// Values the SDK reports on its own threads (automatic exposure and focus)
// reach the GUI thread as queued calls; nothing of this frame is touched on
// another thread.
#pragma once

#include <QElapsedTimer>
#include <QFrame>
#include <QList>
#include <QPoint>
#include <QTimer>
#include <future>
#include <memory>

#include "ZDQApi.h"

namespace Ui {
class Varnu_ImageFrame;
}

class AutoFocusThread;
class CI_MainControl;
class PreviewSurface;
class ReportWps;
class RunningDialog;
class ZdqCaptureThread;
class ZdqPreviewThread;
struct VarnuExperiment;

class Varnu_ImageFrame : public QFrame {
    Q_OBJECT
  public:
    explicit Varnu_ImageFrame(QWidget* parent = nullptr);
    // Stops a running preview and closes the SDK; waits for a running capture.
    ~Varnu_ImageFrame() override;

    // Multiplies the lens timing of automatic focus (tests); 1 is real time.
    void setAutoFocusTimeScale(double scale);
    // Longest wait for the settled exposure of automatic exposure.
    void setAutoExposureTimeoutMs(int milliseconds);

    PreviewSurface* previewSurface() const { return m_surface; }
    bool isPreviewing() const { return previewing; }
    QSize previewSize() const { return QSize(previewWidth, previewHeight); }

  signals:
    void hideToolFrame();
    void sig_ResetFuncsFrame();
    void updatePreviewLabel(bool previewStatus);
    void updateButton(bool enable);
    void createAEDialog(QPoint point);
    void destroyAEDialog();
    void createAFDialog(QPoint point);
    void destroyAFDialog();
    void updateAeTime(int aeTime);

  public slots:
    void enterVrFrameHandle();
    void exitVrFrameHandle();
    void updatePreviewFieldHandle(int index);
    void previewClickHandle();
    void captureClickHandle();
    void accCaptureClickHandle();
    void finishedHandle();
    void stopCapThreadHandle();
    void autoExposureClickHandle();
    void autoFocusClickHandle();
    void slot_ExportClick();
    void slot_WpsEditClick();
    void slot_updatePreviewField(QString changeType);
    void lensFocusResetHandle();
    void previewStartHandle();
    void expChangeHandle();

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    static void zdqAeCallBack(bool success, int exposure, void* context);
    static void zdqAfCallBack(int focusValue, void* context);

    void previewStart();
    // Stops the SDK's preview and closes the SDK on a thread of its own, after
    // the camera work asked for before; the GUI thread does not wait for it.
    void previewStop();
    // Deletes the preview thread object once it has ended.
    void releasePreviewThread();
    // The next piece of camera work in order: `previous` is what it waits
    // for, the promise what it fulfils when it ends.
    std::shared_ptr<std::promise<void>> orderCameraWork(std::shared_future<void>* previous);
    // Waits, with the event loop running but no user input, until the camera
    // work asked for so far has ended; false (with a message) past the bound.
    bool awaitCameraWork();
    // Sets the preview's field of view again once the running preview start
    // has ended.
    void deferPreviewFieldUpdate();
    // Fits the view of the held resolution into the picture area the frame
    // has now; true when the fitted size changed.
    bool fitPreviewArea();
    // Runs `step` once the preview's start has ended (at once when it has),
    // without holding the GUI thread: the camera is open and programmed
    // then. A start that has not ended within its bound is not waited for
    // further; a preview stopped meanwhile drops the step.
    void afterPreviewStart(void (Varnu_ImageFrame::*step)());
    void runStepAfterStart();
    void dropStepAfterStart();
    void autoExposureStart();
    void autoFocusStart();
    void captureStart(int mode);
    void updateExpInfo();
    void drawOverlay(QPixmap& pixmap);
    void clearPicture();
    QPoint dialogPoint(QSize dialogSize) const;
    QRect autoRegion() const;
    bool cameraPresent();
    void aeSettledHandle(bool success, int exposure);
    void aeTimeoutHandle();
    void focusValueHandle(int value);
    void afFinish();
    void writeAudit(const QString& chinese, const QString& english);

    Ui::Varnu_ImageFrame* ui;
    CI_MainControl* controller;
    PreviewSurface* m_surface = nullptr;
    int aeExposure = 0;
    int afBest = 0;
    AutoFocusThread* autoFocusThread = nullptr;
    ReportWps* report = nullptr;
    ZDQWindow windowHandle = 0;
    int previewWidth = 0;
    int previewHeight = 0;
    // The resolution index of the preview's view (none before the first show).
    int m_fieldIndex = -1;
    bool entered = false;
    bool previewing = false;
    bool aePending = false;
    RunningDialog* runningDialog = nullptr;
    ZdqPreviewThread* previewThread = nullptr;
    // The last preview start or stop asked for, in the order asked.
    std::shared_future<void> m_cameraWork;
    bool m_fieldUpdatePending = false;
    // The automatic step waiting for the preview's start, and its bound.
    void (Varnu_ImageFrame::*m_afterStart)() = nullptr;
    QMetaObject::Connection m_afterStartEnded;
    QTimer m_previewStartBound;
    ZdqCaptureThread* captureThread = nullptr;
    std::unique_ptr<VarnuExperiment> currentRecord;

    // Automatic exposure and focus in progress, the focus values of the pair
    // being averaged, and the bounds of both.
    bool m_aeRunning = false;
    bool m_afMeasuring = false;
    QList<int> m_focusValues;
    int m_focusCalls = 0;
    double m_afTimeScale = 1.0;
    QElapsedTimer m_afInwardSince;
    qint64 m_afInwardAfterMs = 0;
    QTimer m_aeTimeout;
    QTimer m_afTimeout;
};
