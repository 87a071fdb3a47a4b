#include "WesternBlot_ImageFrame.h"

#include "ui_WesternBlot_ImageFrame.h"

#include "MergeDialog.h"
#include "PictureExport.h"
#include "ReportWordProcessor.h"
#include "ReportWps.h"
#include "RunningDialog.h"
#include "WesternBlotFiles.h"
#include "WesternBlotOverlay.h"
#include "WesternBlotPicture.h"
#include "base/Enumerations.h"
#include "camera/EstimateExpTimeThread.h"
#include "camera/TucsenCamCtrl.h"
#include "camera/TucsenCapThread.h"
#include "camera/TucsenGrabThread.h"
#include "camera/TucsenPictureFiles.h"
#include "camera/TucsenShowThread.h"
#include "controller/CI_MainControl.h"
#include "database/UserInfo.h"
#include "database/Westblot_ExperimentDB.h"
#include "settings/StoragePathDefault.h"
#include "widgets/InitialDialog.h"
#include "widgets/LoadingDialog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTimer>
#include <QtDebug>

#include <cstring>

namespace {
// Experiment names carry their second; a name already taken moves on to the
// next free second, so no capture writes into an earlier one's row.
constexpr int kNameSecondsTried = 60;
}  // namespace

WesternBlot_ImageFrame::WesternBlot_ImageFrame(QWidget* parent)
    : QFrame(parent),
      ui(new Ui::WesternBlot_ImageFrame),
      mainControl(CI_MainControl::getInstance()),
      camCtrl(TucsenCamCtrl::getInstance()),
      grabThread(new TucsenGrabThread),
      showThread(new TucsenShowThread),
      firstFrameTimer(new QTimer(this)),
      stopBoundTimer(new QTimer(this)) {
    ui->setupUi(this);
    connect(showThread, SIGNAL(updateImg()), this, SLOT(updateImgHandle()));
    connect(grabThread, &QThread::finished, this, &WesternBlot_ImageFrame::previewThreadEnded);
    connect(showThread, &QThread::finished, this, &WesternBlot_ImageFrame::previewThreadEnded);
    camCtrl->curFuncFrameType = WesternBlot_SingleCapture;
    firstFrameTimer->setSingleShot(true);
    firstFrameTimer->setInterval(kFirstFrameBoundMs);
    connect(firstFrameTimer, &QTimer::timeout, this, &WesternBlot_ImageFrame::firstFrameMissing);
    stopBoundTimer->setSingleShot(true);
    stopBoundTimer->setInterval(kStopBoundMs);
    connect(stopBoundTimer, &QTimer::timeout, this, &WesternBlot_ImageFrame::stopBoundPassed);
}

WesternBlot_ImageFrame::~WesternBlot_ImageFrame() {
    camCtrl->stopFlag = true;
    // A thread must not be destroyed while it runs; its loop ends with the
    // camera library's bounded read.
    grabThread->wait();
    showThread->wait();
    // The capture and the estimate end on their own bounded frame waits.
    if (capThread) {
        capThread->setStopFlag(true);
        capThread->wait();
    }
    if (estimateThread) {
        estimateThread->wait();
    }
    delete capThread;
    delete estimateThread;
    delete runningDialog;
    delete report;
    delete grabThread;
    delete showThread;
    delete ui;
}

void WesternBlot_ImageFrame::enterWbFrameHandle() {
    emit hideToolFrame();
    emit sig_ResetFuncsFrame();
    emit sig_ShowFuncFrame(static_cast<WesternBlot_FuncsFrameType>(camCtrl->curFuncFrameType));
    mainControl->userOpt.loadUserOpt(UserOpt_imageShowMode);
    imageShowMode = mainControl->userOpt.imageShowMode;
    showBusyDialog = true;
    delete[] mainControl->pictureBuffer;
    mainControl->pictureBuffer = nullptr;
    previewStart();
}

void WesternBlot_ImageFrame::exitFrameHandle() {
    previewClose();
    if (camCtrl->curFuncFrameType == WesternBlot_ManualCapture) {
        camCtrl->curFuncFrameType = WesternBlot_SingleCapture;
    }
    emit hideToolFrame();
    emit sig_ResetFuncsFrame();
    camCtrl->clearFrameList();
    curExperiment.reset();
}

void WesternBlot_ImageFrame::previewStartHandle() {
    if (previewing) {
        return;
    }
    previewFromButton = true;
    previewStart();
}

bool WesternBlot_ImageFrame::previewThreadsEnded() const {
    return !grabThread->isRunning() && !showThread->isRunning();
}

void WesternBlot_ImageFrame::previewStart() {
    qDebug() << "previewStart.";
    if (camCtrl->imageBuffer == nullptr) {
        // No cooled camera was started; start-up has told the user.
        qDebug() << "No camera to preview.";
        return;
    }
    if (previewing) {
        // A preview that runs (or is about to) goes on as it is, under its
        // light (entering the page reset the panel's light button).
        emit sig_OpenLight();
        return;
    }
    // A start asked for replaces an estimate or capture still waiting for
    // the last preview's loops.
    cancelStepAfterStop();
    previewing = true;
    firstFrame = true;
    ui->label_Cam->clear();
    ui->frame_Btn->hide();
    emit updateButton(false);
    emit sig_OpenLight();
    emit updatePreviewLabel(true);
    firstFrameTimer->start();
    if (previewStopping) {
        // The loops of the last preview end before the camera serves new
        // ones; their finished starts these.
        startWhenStopped = true;
    } else {
        startPreviewThreads();
    }
    if (previewFromButton) {
        runInitialDialog();
    }
}

void WesternBlot_ImageFrame::startPreviewThreads() {
    camCtrl->resumeDevice();
    applyCamSet();
    camCtrl->stopFlag = false;
    grabThread->start(QThread::InheritPriority);
    showThread->start(QThread::InheritPriority);
}

void WesternBlot_ImageFrame::previewClose() {
    qDebug() << "previewClose.";
    startWhenStopped = false;
    cancelStepAfterStop();
    previewing = false;
    firstFrameTimer->stop();
    if (!previewStopping) {
        camCtrl->suspendDevice();
        camCtrl->stopFlag = true;
        // A suspended camera ends its read at once; a read that is slow to
        // return is not waited for here.
        QDeadlineTimer deadline(kStopWaitMs);
        const bool ended = grabThread->wait(deadline) && showThread->wait(deadline);
        previewStopping = !ended;
        if (previewStopping) {
            qDebug() << "Preview loops still ending.";
        }
    }
    emit updatePreviewLabel(false);
}

void WesternBlot_ImageFrame::previewThreadEnded() {
    if (!previewStopping || !previewThreadsEnded()) {
        return;
    }
    previewStopping = false;
    qDebug() << "Preview loops ended.";
    if (startWhenStopped) {
        startWhenStopped = false;
        startPreviewThreads();
        return;
    }
    const StepAfterStop step = stepAfterStop;
    cancelStepAfterStop();
    runStep(step);
}

void WesternBlot_ImageFrame::runWhenStopped(StepAfterStop step) {
    if (!previewStopping) {
        runStep(step);
        return;
    }
    // The loops' finished runs the step; the GUI thread does not wait.
    stepAfterStop = step;
    stopBoundTimer->start();
}

void WesternBlot_ImageFrame::runStep(StepAfterStop step) {
    switch (step) {
        case StepAfterStop::None:
            break;
        case StepAfterStop::Estimate:
            startEstimate();
            break;
        case StepAfterStop::Capture:
            startCapture();
            break;
    }
}

void WesternBlot_ImageFrame::cancelStepAfterStop() {
    stepAfterStop = StepAfterStop::None;
    stopBoundTimer->stop();
}

void WesternBlot_ImageFrame::stopBoundPassed() {
    if (stepAfterStop == StepAfterStop::None) {
        return;
    }
    // The loops' close still completes when they end; the step is dropped.
    stepAfterStop = StepAfterStop::None;
    QMessageBox::warning(this, tr("Warning"), tr("The camera preview did not stop."));
}

void WesternBlot_ImageFrame::applyCamSet() {
    CamOpts& cam = mainControl->camOpt;
    cam.loadTucsenCurrentCamSet();
    const TucsenCamSet& set = cam.tucsenCurrentCamSet;
    camCtrl->setCamPara(set.Resolution, set.ExposurePre, set.GainPre, set.BlackLevel, set.Contrast,
                        set.Gamma, set.Stretch != 0, set.Flip, set.PixelClock, set.Depth);
}

void WesternBlot_ImageFrame::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    // Opened once the show has been handled: a modal loop inside the show
    // event would hold up the page's own showing.
    if (showBusyDialog) {
        QTimer::singleShot(0, this, [this] {
            if (showBusyDialog && previewing && firstFrame && isVisible()) {
                runInitialDialog();
            }
        });
    }
}

void WesternBlot_ImageFrame::moveToCentre(QWidget* dialog) {
    dialog->move(mapToGlobal(QPoint(0, 0)) +
                 QPoint((width() - dialog->width()) / 2, (height() - dialog->height()) / 2));
}

void WesternBlot_ImageFrame::runInitialDialog() {
    if (initialDialog != nullptr) {
        return;
    }
    initialDialog = new InitialDialog(this);
    moveToCentre(initialDialog);
    initialDialog->exec();
}

void WesternBlot_ImageFrame::closeInitialDialog() {
    showBusyDialog = false;
    previewFromButton = false;
    if (initialDialog == nullptr) {
        return;
    }
    InitialDialog* closing = initialDialog;
    initialDialog = nullptr;
    closing->reject();
    // Its exec may still be on the stack: deleted once that has returned.
    closing->deleteLater();
}

void WesternBlot_ImageFrame::firstFrameMissing() {
    if (!firstFrame) {
        return;
    }
    const bool dialogOpen = initialDialog != nullptr;
    closeInitialDialog();
    if (dialogOpen) {
        QMessageBox::warning(this, tr("Warning"), tr("No picture from the camera."));
    }
}

void WesternBlot_ImageFrame::updateImgHandle() {
    closeInitialDialog();
    QImage image;
    {
        // The show thread decodes the next frame into the same buffer.
        QMutexLocker lock(&camCtrl->mutex);
        image = westernBlotScreenImage(camCtrl->imageBuffer, camCtrl->imageBufferSize());
        if (!image.isNull()) {
            camCtrl->frameWidth = static_cast<unsigned short>(image.width());
            camCtrl->frameHeight = static_cast<unsigned short>(image.height());
        }
    }
    if (image.isNull()) {
        return;
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    updateLabelCam(pixmap, false);
    if (firstFrame) {
        firstFrameTimer->stop();
        emit updateProcessButton();
        firstFrame = false;
    }
}

void WesternBlot_ImageFrame::updateLabelCam(QPixmap& pix, bool waterMark) {
    QLabel* label = ui->label_Cam;
    if (pix.width() >= label->width() || pix.height() >= label->height()) {
        pix = pix.scaled(label->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (imageShowMode == 0) {
            label->setScaledContents(false);
        } else if (imageShowMode == 1) {
            label->setScaledContents(true);
        }
    } else {
        pix = pix.scaled(pix.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        label->setScaledContents(false);
    }
    if (waterMark) {
        drawInfoOverlay(pix);
    }
    label->setAlignment(Qt::AlignCenter);
    label->setPixmap(pix);
    label->update();
}

// ---- Exposure-time estimate --------------------------------------------------

void WesternBlot_ImageFrame::autoExpStartHandle() {
    previewClose();
    runWhenStopped(StepAfterStop::Estimate);
}

void WesternBlot_ImageFrame::startEstimate() {
    camCtrl->resumeDevice();
    delete estimateThread;
    estimateThread = new EstimateExpTimeThread;
    // The thread class has a member of the same name as the signal.
    connect(estimateThread, &QThread::finished, this,
            &WesternBlot_ImageFrame::autoExpFinishedHandle);
    estimatePending = false;
    estimateThread->start(QThread::InheritPriority);
    if (loadingDialog == nullptr) {
        loadingDialog = new LoadingDialog(this, tr("Estimating exposure time..."));
    }
    moveToCentre(loadingDialog);
    ui->label_Cam->clear();
    ui->frame_Btn->hide();
    emit updateButton(false);
    // The estimate's reads are bounded, so its finished closes the dialog;
    // until then the dialog stays, also when Escape closed it, so that
    // nothing else uses the camera meanwhile.
    estimateDialogOpen = true;
    do {
        loadingDialog->exec();
    } while (loadingDialog != nullptr && !estimateThread->isFinished());
    estimateDialogOpen = false;
    // The estimate goes out once its dialog is gone, so that what follows
    // it (a capture) does not run inside that dialog.
    if (estimatePending) {
        estimatePending = false;
        deliverEstimate();
    }
}

void WesternBlot_ImageFrame::autoExpFinishedHandle() {
    if (loadingDialog) {
        loadingDialog->reject();
        // Its exec may still be on the stack.
        loadingDialog->deleteLater();
        loadingDialog = nullptr;
    }
    camCtrl->suspendDevice();
    if (estimateDialogOpen) {
        estimatePending = true;
        return;
    }
    // The dialog was closed by the user before the estimate ended.
    deliverEstimate();
}

void WesternBlot_ImageFrame::deliverEstimate() {
    const int minutes = estimateThread->getExpTime() / 60000;
    switch (estimateThread->outcome()) {
        case EstimateExpTimeThread::Outcome::Estimated:
            break;
        case EstimateExpTimeThread::Outcome::NoBand:
            QMessageBox::warning(
                this, tr("Warning"),
                tr("No band was found on the membrane. The exposure time is set to %1 minutes.")
                    .arg(minutes));
            break;
        case EstimateExpTimeThread::Outcome::NoPicture:
            QMessageBox::warning(
                this, tr("Warning"),
                tr("The camera gave no picture. The exposure time is set to %1 minutes.")
                    .arg(minutes));
            break;
        case EstimateExpTimeThread::Outcome::Unusable:
            QMessageBox::warning(this, tr("Warning"),
                                 tr("The calibration of the exposure estimate is unusable. The "
                                    "exposure time is set to %1 minutes.")
                                     .arg(minutes));
            break;
    }
    emit sig_UpdateAutoExpTime(estimateThread->getExpTime());
}

// ---- Capture --------------------------------------------------------------------

void WesternBlot_ImageFrame::capStartHandle() {
    ui->frame_Btn->hide();
    previewClose();
    runWhenStopped(StepAfterStop::Capture);
}

void WesternBlot_ImageFrame::startCapture() {
    updateExpInfo();

    if (capThread) {
        disconnect(capThread, &QThread::finished, this, &WesternBlot_ImageFrame::closeRunDialog);
        delete capThread;
    }
    capThread = new TucsenCapThread;
    connect(capThread, &QThread::finished, this, &WesternBlot_ImageFrame::closeRunDialog);
    capThread->start(QThread::InheritPriority);

    if (runningDialog) {
        disconnect(runningDialog, &RunningDialog::stopCapThread, this,
                   &WesternBlot_ImageFrame::stopCapThreadHandle);
        delete runningDialog;
    }
    runningDialog = new RunningDialog(this);
    runningDialog->startProgress();
    moveToCentre(runningDialog);
    connect(runningDialog, &RunningDialog::stopCapThread, this,
            &WesternBlot_ImageFrame::stopCapThreadHandle);
    ui->label_Cam->clear();
    // The thread may have finished already: its queued finished closes the
    // dialog from inside exec in every case. Escape does not end the
    // capture, so the dialog comes back until the thread has ended.
    do {
        runningDialog->exec();
    } while (runningDialog != nullptr && !capThread->isFinished());
}

void WesternBlot_ImageFrame::updateExpInfo() {
    qDebug() << "updateExpInfo.";
    QString prefix;
    switch (camCtrl->curFuncFrameType) {
        case WesternBlot_SingleCapture:
            prefix = QStringLiteral("WestBlot_Single");
            break;
        case WesternBlot_ManualCapture:
            prefix = QStringLiteral("WestBlot_Manual");
            break;
        default:
            qFatal("Unknow WesternBlot_FuncsFrameType.");
    }
    curExperiment = std::make_unique<WestblotExperiment>();
    curExperiment->expType = WesternBlot;
    const QDateTime now = QDateTime::currentDateTime();
    curExperiment->dateTime = now;
    QDateTime named = now;
    for (int tried = 0; tried < kNameSecondsTried; ++tried, named = named.addSecs(1)) {
        curExperiment->name = prefix + named.toString(QStringLiteral("yyyy-MM-dd-hh-mm-ss"));
        if (!mainControl->westblotExperimentDB->loadByName(curExperiment->name)) {
            break;
        }
    }
    curExperiment->picSavedPath =
        TucsenPictureFiles::stationFolder(now.date(), curExperiment->name);
    CamOpts& cam = mainControl->camOpt;
    cam.loadTucsenCurrentCamSet();
    const TucsenCamSet& set = cam.tucsenCurrentCamSet;
    curExperiment->binning = set.Resolution;
    curExperiment->blackLevel = set.BlackLevel;
    curExperiment->contrast = set.Contrast;
    curExperiment->gamma = set.Gamma;
    camCtrl->curExpName = curExperiment->name;
    const bool saved = mainControl->westblotExperimentDB->insertExperiment(*curExperiment);
    qDebug() << curExperiment->name << " saved " << (saved ? "true" : "false");
}

void WesternBlot_ImageFrame::stopCapThreadHandle() {
    qDebug() << "TucsenCapThread stop.";
    if (!capThread) {
        return;
    }
    // The job ends after the picture being exposed; the progress dialog
    // stays, with the page's events running, until the thread has ended
    // and its finished closes it. Nothing here waits on the thread, whose
    // exposure may last minutes.
    capThread->setStopFlag(true);
}

void WesternBlot_ImageFrame::closeRunDialog() {
    if (runningDialog) {
        runningDialog->reject();
        disconnect(runningDialog, &RunningDialog::stopCapThread, this,
                   &WesternBlot_ImageFrame::stopCapThreadHandle);
        // Its exec may still be on the stack.
        runningDialog->deleteLater();
        runningDialog = nullptr;
    }
    ui->label_Cam->update();
    showCapedPic();
    if (capThread && !capThread->writeFailure().isEmpty()) {
        QMessageBox::warning(this, tr("Warning"), capThread->writeFailure());
    }
}

// ---- Captured pictures ----------------------------------------------------------

void WesternBlot_ImageFrame::showCapedPic() {
    qDebug() << "showCapedPic.";
    const int count = camCtrl->frameList.size();
    ui->label_Position->setText(QStringLiteral("%1 / %2").arg(count).arg(count));
    if (count == 0) {
        ui->label_Cam->clear();
        return;
    }
    if (count > 1) {
        ui->frame_Btn->show();
        // Set silently and shown below: the bar signals nothing when its
        // value does not change, and the last picture is shown every time.
        const QSignalBlocker quiet(ui->horizontalScrollBar);
        ui->horizontalScrollBar->setRange(0, count - 1);
        ui->horizontalScrollBar->setValue(count - 1);
    }
    on_horizontalScrollBar_valueChanged(count - 1);
    emit updateButton(true);
}

void WesternBlot_ImageFrame::on_horizontalScrollBar_valueChanged(int value) {
    const int count = camCtrl->frameList.size();
    if (value < 0 || value >= count) {
        return;
    }
    curPictureIndex = value;
    stretchSet = false;
    copyToPictureBuffer(value);
    ui->label_Position->setText(QStringLiteral("%1 / %2").arg(value + 1).arg(count));
    showPictureBuffer();
    emit sig_UpdateHisto(static_cast<WesternBlot_FuncsFrameType>(camCtrl->curFuncFrameType), value);
}

bool WesternBlot_ImageFrame::copyToPictureBuffer(int index) {
    if (index < 0 || index >= camCtrl->frameList.size()) {
        return false;
    }
    const size_t bytes = camCtrl->imageBufferSize();
    delete[] mainControl->pictureBuffer;
    mainControl->pictureBuffer = new uchar[bytes];
    std::memcpy(mainControl->pictureBuffer, camCtrl->frameList.at(index), bytes);
    return true;
}

void WesternBlot_ImageFrame::showPictureBuffer() {
    const QImage image =
        westernBlotScreenImage(mainControl->pictureBuffer, camCtrl->imageBufferSize());
    if (image.isNull()) {
        qWarning() << "Captured picture" << curPictureIndex << "cannot be read.";
        ui->label_Cam->clear();
        return;
    }
    camCtrl->frameWidth = static_cast<unsigned short>(image.width());
    camCtrl->frameHeight = static_cast<unsigned short>(image.height());
    QPixmap pixmap = QPixmap::fromImage(image);
    updateLabelCam(pixmap, true);
}

void WesternBlot_ImageFrame::updateHistoedImgHandle(int minInten, int maxInten) {
    // Each stretch starts from the captured samples.
    if (!copyToPictureBuffer(curPictureIndex)) {
        return;
    }
    stretchPicture(mainControl->pictureBuffer, camCtrl->imageBufferSize(), minInten, maxInten);
    stretchSet = true;
    stretchMinimum = minInten;
    stretchMaximum = maxInten;
    showPictureBuffer();
}

void WesternBlot_ImageFrame::drawInfoOverlay(QPixmap& pix) {
    const std::unique_ptr<WestblotExperiment> record =
        mainControl->westblotExperimentDB->loadByName(camCtrl->curExpName);
    if (!record) {
        return;
    }
    drawWesternBlotOverlay(pix, westernBlotOverlayLines(*record, curPictureIndex));
}

// ---- Export and report ----------------------------------------------------------

void WesternBlot_ImageFrame::slot_MergeClick() {
    MergeDialog dialog(this);
    if (curExperiment && stretchSet) {
        // The capture's own files, named by their time, are its pictures in
        // order; merged ones are named otherwise.
        const QRegularExpression captured(QStringLiteral("^\\d\\d-\\d\\d-\\d\\d-\\d{3}\\.tif$"));
        const QStringList files = listCapturedTifs(curExperiment->picSavedPath).filter(captured);
        if (curPictureIndex < files.size()) {
            dialog.setShownStretch(files.at(curPictureIndex), stretchMinimum, stretchMaximum);
        }
    }
    dialog.initDialog();
    dialog.exec();
}

void WesternBlot_ImageFrame::slot_ExportClick() {
    exportPicture();
}

void WesternBlot_ImageFrame::exportPicture() {
    const QString folder = storagePathOrDefault(mainControl->userOpt) + QStringLiteral("/") +
                           QDate::currentDate().toString(QStringLiteral("yy-MM-dd")) +
                           QStringLiteral("/") + camCtrl->curExpName + QStringLiteral("/");
    QDir().mkpath(folder);
    const QString defaultName =
        folder + QTime::currentTime().toString(QStringLiteral("hh-mm-ss-zzz"));
    QString selectedFilter;
    const QString chosen = QFileDialog::getSaveFileName(
        nullptr, tr("Save Image"), defaultName, tr("*.tif;;*.bmp;;*.jpg;;*.png"), &selectedFilter);
    if (chosen.isEmpty()) {
        return;
    }
    const PictureExportPlan plan = planPictureExport(chosen, selectedFilter);
    if (!writeWesternBlotExport(plan, mainControl->pictureBuffer, camCtrl->imageBufferSize())) {
        QMessageBox::warning(this, tr("Warning"),
                             tr("The picture could not be saved: %1").arg(plan.path));
    }
}

void WesternBlot_ImageFrame::slot_WpsEditClick() {
    if (!curExperiment) {
        return;
    }
    delete report;
    report = new ReportWps();
    if (!report->openReportTemplate()) {
        QMessageBox::warning(this, tr("Warning"), report->failureReason());
        return;
    }
    UserOpts& options = mainControl->userOpt;
    options.loadUserOpt(UserOpt_MainTitle);
    options.loadUserOpt(UserOpt_SubTitle);
    const QStringList files = listCapturedTifs(curExperiment->picSavedPath);
    // The folder's pictures follow the capture's order; a folder that lost
    // some names none.
    const QString file = curPictureIndex < files.size() ? files.at(curPictureIndex) : QString();
    const QString realName =
        mainControl->currentUser ? mainControl->currentUser->realName : QString();
    report->setBookmarkText(QStringLiteral("MainTitle"), options.MainTitle);
    report->setBookmarkText(QStringLiteral("SubTitle"), options.SubTitle);
    report->setBookmarkText(QStringLiteral("UserLabel"), tr("User:"));
    report->setBookmarkText(QStringLiteral("User"), realName);
    report->setBookmarkText(QStringLiteral("ReportDateLabel"), tr("ReportDate:"));
    report->setBookmarkText(QStringLiteral("ReportDate"),
                            QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    report->setBookmarkText(QStringLiteral("PictureName1"), tr("PictureName:") + file);
    if (!file.isEmpty()) {
        report->insertBookmarkPicture(QStringLiteral("Picture1"),
                                      curExperiment->picSavedPath + file);
    }
    // The report is written once, whole, now that it is filled.
    tellReportResult(this, completeReport(*report));
}

void WesternBlot_ImageFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QFrame::changeEvent(event);
}
