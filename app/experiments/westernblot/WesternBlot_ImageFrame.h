// The picture area of the western-blot page: the live preview of the cooled
// camera with the busy dialog that covers its start, the exposure-time
// estimate, the capture with its progress dialog, paging through the
// pictures of the last capture with their parameter overlay, the histogram
// stretch of the picture on show, its export and its report document.
#pragma once

#include "WesternBlot_FuncsFrameType.h"

#include <QFrame>
#include <QPixmap>

#include <memory>

namespace Ui {
class WesternBlot_ImageFrame;
}

class CI_MainControl;
class EstimateExpTimeThread;
class InitialDialog;
class LoadingDialog;
class QTimer;
class ReportWps;
class RunningDialog;
class TucsenCamCtrl;
class TucsenCapThread;
class TucsenGrabThread;
class TucsenShowThread;
struct WestblotExperiment;

class WesternBlot_ImageFrame : public QFrame {
    Q_OBJECT
  public:
    explicit WesternBlot_ImageFrame(QWidget* parent = nullptr);
    ~WesternBlot_ImageFrame() override;

    // Longest wait for the first frame of a preview before the busy dialog
    // closes with a message.
    static constexpr int kFirstFrameBoundMs = 10000;
    // Longest wait of the GUI thread for the preview loops to end; loops
    // still ending then are followed through their finished signals.
    static constexpr int kStopWaitMs = 50;
    // Longest time an estimate or a capture waits, with the page's events
    // running, for the preview loops to end before it takes the camera.
    static constexpr int kStopBoundMs = 5000;

    // The record of the last capture (null before the first one).
    const WestblotExperiment* currentExperiment() const { return curExperiment.get(); }
    // The index of the captured picture on show.
    int pictureIndex() const { return curPictureIndex; }

  signals:
    void sig_UpdateHisto(WesternBlot_FuncsFrameType curFuncFrameType, int value);
    void sig_UpdateAutoExpTime(int autoExpTime);
    void hideToolFrame();
    void sig_ResetFuncsFrame();
    void updatePreviewLabel(bool previewStatus);
    void sig_ShowFuncFrame(WesternBlot_FuncsFrameType funcsFrameType);
    void updateButton(bool enable);
    void updateProcessButton();
    void sig_OpenLight();

  public slots:
    void exitFrameHandle();
    void enterWbFrameHandle();
    void previewStartHandle();
    // Stops the preview and estimates the exposure time under a busy dialog;
    // the estimate goes out through sig_UpdateAutoExpTime.
    void autoExpStartHandle();
    // Stops the preview and takes the capture the current mode asks for
    // under the progress dialog, then shows its last picture.
    void capStartHandle();
    // The picture on show, stretched from its captured samples.
    void updateHistoedImgHandle(int minInten, int maxInten);
    // The merge dialog over the pictures of the current experiment, the
    // picture on show with the stretch it has here.
    void slot_MergeClick();
    void slot_ExportClick();
    void slot_WpsEditClick();

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private slots:
    void updateImgHandle();
    // Fits the picture to label_Cam (by imageShowMode), with the capture's
    // parameters when `waterMark` is set, and shows it.
    void updateLabelCam(QPixmap& pix, bool waterMark);
    void closeRunDialog();
    void stopCapThreadHandle();
    void on_horizontalScrollBar_valueChanged(int value);
    void autoExpFinishedHandle();
    // A preview loop has ended: a close that found them still running
    // completes, and a start asked for meanwhile runs.
    void previewThreadEnded();

  private:
    // Tells the user why an estimate ended without a time of its own, then
    // sends the estimate out.
    void deliverEstimate();
    void previewStart();
    // Resumes the camera and starts the grab and show loops.
    void startPreviewThreads();
    void previewClose();
    void applyCamSet();
    // True when neither preview loop runs.
    bool previewThreadsEnded() const;
    // What runs once the preview loops have ended.
    enum class StepAfterStop { None, Estimate, Capture };
    // Runs `step` now when the preview loops have ended, else from their
    // finished; loops that have not ended within kStopBoundMs drop it with
    // a message.
    void runWhenStopped(StepAfterStop step);
    void runStep(StepAfterStop step);
    void cancelStepAfterStop();
    void stopBoundPassed();
    // The estimate under its busy dialog, the camera free of the preview.
    void startEstimate();
    // The capture under its progress dialog, the camera free of the preview.
    void startCapture();
    // The busy dialog over the frame until the first frame or the bound.
    void runInitialDialog();
    void closeInitialDialog();
    void firstFrameMissing();
    // A new experiment row for the capture about to start.
    void updateExpInfo();
    // The last picture of the capture, with paging when there are several.
    void showCapedPic();
    // Shows the controller's picture buffer, mirrored, with the overlay.
    void showPictureBuffer();
    // Replaces the controller's picture buffer by a copy of captured
    // picture `index`; false when there is none.
    bool copyToPictureBuffer(int index);
    void drawInfoOverlay(QPixmap& pix);
    void exportPicture();
    void moveToCentre(QWidget* dialog);

    Ui::WesternBlot_ImageFrame* ui;
    CI_MainControl* mainControl;
    TucsenCamCtrl* camCtrl;
    TucsenGrabThread* grabThread;
    TucsenShowThread* showThread;
    EstimateExpTimeThread* estimateThread = nullptr;
    TucsenCapThread* capThread = nullptr;
    RunningDialog* runningDialog = nullptr;
    LoadingDialog* loadingDialog = nullptr;
    InitialDialog* initialDialog = nullptr;
    ReportWps* report = nullptr;
    std::unique_ptr<WestblotExperiment> curExperiment;
    QTimer* firstFrameTimer;
    QTimer* stopBoundTimer;
    int curPictureIndex = 0;
    // The stretch the picture on show has, once its panel set one.
    bool stretchSet = false;
    int stretchMinimum = 0;
    int stretchMaximum = 0;
    int imageShowMode = 0;
    bool previewing = false;
    // The loops were asked to stop and have not ended yet; a start asked for
    // meanwhile is pending until they have.
    bool previewStopping = false;
    bool startWhenStopped = false;
    StepAfterStop stepAfterStop = StepAfterStop::None;
    bool firstFrame = false;
    bool showBusyDialog = false;
    bool previewFromButton = false;
    // The estimate's dialog runs; an estimate that ends meanwhile waits
    // until it has closed.
    bool estimateDialogOpen = false;
    bool estimatePending = false;
};
