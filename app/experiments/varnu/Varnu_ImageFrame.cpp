#include "Varnu_ImageFrame.h"

#include "ui_Varnu_ImageFrame.h"

#include "PictureExport.h"
#include "PreviewFit.h"
#include "ReportWordProcessor.h"
#include "ReportWps.h"
#include "RunningDialog.h"
#include "base/Enumerations.h"
#include "base/NavigationTypes.h"
#include "camera/GelPictureFiles.h"
#include "camera/PreviewSurface.h"
#include "camera/ZdqCameraCtrl.h"
#include "camera/ZdqCaptureThread.h"
#include "camera/ZdqFieldOfView.h"
#include "camera/ZdqPreviewThread.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "database/Varnu_ExperimentDB.h"
#include "serial/AutoFocusThread.h"
#include "settings/SettingsNotSaved.h"
#include "settings/StoragePathDefault.h"
#include "widgets/LoadingDialog.h"

#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPainter>
#include <QRegularExpression>
#include <QtDebug>

#include <cmath>

namespace {

constexpr int kAeSteps = 20;
constexpr int kAeTarget = 30;
// An automatic step waits this long for the preview's start to end; past
// it, the step goes on.
constexpr int kPreviewStartBoundMs = 5000;
// Longest wait for the preview to have stopped before a capture takes the
// camera.
constexpr int kCameraWorkBoundMs = 10000;
// Beyond the exposure of the frame in progress, how long Stop waits.
constexpr int kCaptureStopMarginMs = 10000;
constexpr int kDefaultAeTimeoutMs = 30000;

ZdqCameraCtrl* camera() {
    return CI_MainControl::getInstance()->zdqCameraCtrl;
}

}  // namespace

Varnu_ImageFrame::Varnu_ImageFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::Varnu_ImageFrame), controller(CI_MainControl::getInstance()) {
    ui->setupUi(this);
    auto* surfaceLayout = new QGridLayout(ui->label_Cam);
    surfaceLayout->setContentsMargins(0, 0, 0, 0);
    m_surface = new PreviewSurface(ui->label_Cam);
    // The SDK draws the camera's first row at the bottom; mirrored left to
    // right as well, the live gel is the stored picture (the frame turned by
    // 180 degrees), as every other view of it shows it.
    m_surface->setMirrored(true);
    surfaceLayout->addWidget(m_surface, 0, 0);

    m_aeTimeout.setSingleShot(true);
    m_aeTimeout.setInterval(kDefaultAeTimeoutMs);
    connect(&m_aeTimeout, &QTimer::timeout, this, &Varnu_ImageFrame::aeTimeoutHandle);
    m_previewStartBound.setSingleShot(true);
    m_previewStartBound.setInterval(kPreviewStartBoundMs);
    connect(&m_previewStartBound, &QTimer::timeout, this, &Varnu_ImageFrame::runStepAfterStart);
    m_afTimeout.setSingleShot(true);
    connect(&m_afTimeout, &QTimer::timeout, this, &Varnu_ImageFrame::afFinish);
    connect(controller, &CI_MainControl::lensFocusReset, this,
            &Varnu_ImageFrame::lensFocusResetHandle);
}

Varnu_ImageFrame::~Varnu_ImageFrame() {
    if (captureThread) {
        captureThread->setStopFlag(true);
        captureThread->wait();
    }
    previewStop();
    // The preview's start and stop use the SDK until they have ended.
    if (m_cameraWork.valid()) {
        m_cameraWork.wait();
    }
    delete autoFocusThread;
    delete report;
    releasePreviewThread();
    delete captureThread;
    delete ui;
}

void Varnu_ImageFrame::setAutoFocusTimeScale(double scale) {
    if (std::isfinite(scale) && scale > 0) {
        m_afTimeScale = scale;
    }
}

void Varnu_ImageFrame::setAutoExposureTimeoutMs(int milliseconds) {
    m_aeTimeout.setInterval(milliseconds);
}

// ---- Entering and leaving ---------------------------------------------------

void Varnu_ImageFrame::enterVrFrameHandle() {
    qDebug() << "enterVrFrameHandle.";
    if (entered) {
        return;
    }
    entered = true;
    emit hideToolFrame();
    previewStart();
}

void Varnu_ImageFrame::exitVrFrameHandle() {
    if (!entered) {
        return;
    }
    qDebug() << "exitVrFrameHandle.";
    previewStop();
    aePending = false;
    entered = false;
    emit sig_ResetFuncsFrame();
}

// ---- Preview ------------------------------------------------------------------

void Varnu_ImageFrame::releasePreviewThread() {
    if (!previewThread) {
        return;
    }
    // Still inside the SDK: it goes once it has ended. (A second deferred
    // deletion of one object is harmless.)
    connect(previewThread, &QThread::finished, previewThread, &QObject::deleteLater);
    if (previewThread->isFinished()) {
        previewThread->deleteLater();
    }
    previewThread = nullptr;
}

std::shared_ptr<std::promise<void>> Varnu_ImageFrame::orderCameraWork(
    std::shared_future<void>* previous) {
    auto done = std::make_shared<std::promise<void>>();
    *previous = m_cameraWork;
    m_cameraWork = done->get_future().share();
    return done;
}

bool Varnu_ImageFrame::awaitCameraWork() {
    const auto ended = [this] {
        return !m_cameraWork.valid() ||
               m_cameraWork.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    };
    QElapsedTimer waited;
    waited.start();
    while (!ended() && waited.elapsed() < kCameraWorkBoundMs) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!ended()) {
        QMessageBox::warning(this, tr("Warning"), tr("The camera preview did not stop."));
        return false;
    }
    return true;
}

void Varnu_ImageFrame::previewStart() {
    qDebug() << "previewStart.";
    releasePreviewThread();
    previewThread = new ZdqPreviewThread();
    clearPicture();
    windowHandle = m_surface->handle();
    previewThread->setPreviewWindow(windowHandle, previewWidth, previewHeight);
    std::shared_future<void> previous;
    std::shared_ptr<std::promise<void>> done = orderCameraWork(&previous);
    previewThread->setOrder(previous, done);
    previewThread->start(QThread::InheritPriority);
    previewing = true;
    emit updatePreviewLabel(true);
    emit updateButton(false);
}

void Varnu_ImageFrame::previewStop() {
    if (!previewing) {
        return;
    }
    qDebug() << "previewStop.";
    // A step waiting for the start is not run on a stopped camera.
    dropStepAfterStart();
    std::shared_future<void> previous;
    std::shared_ptr<std::promise<void>> done = orderCameraWork(&previous);
    // After the preview's own start (which may still be opening the camera).
    QThread* stop = QThread::create([previous, done] {
        if (previous.valid()) {
            previous.wait();
        }
        camera()->ZDQ_PreviewStart(0, false);
        camera()->ZDQ_UnInit();
        done->set_value();
    });
    connect(stop, &QThread::finished, stop, &QObject::deleteLater);
    stop->start(QThread::InheritPriority);
    previewing = false;
    emit updatePreviewLabel(false);
}

void Varnu_ImageFrame::previewClickHandle() {
    if (!previewing) {
        previewStart();
    }
}

void Varnu_ImageFrame::previewStartHandle() {
    previewClickHandle();
}

bool Varnu_ImageFrame::fitPreviewArea() {
    // The picture area is what the layout gives the label now: a hidden
    // settings column has already left its width to this frame. The frame
    // gives the area again whenever its size changes (resizeEvent).
    const QMargins margins = ui->gridLayout->contentsMargins();
    const int W = contentsRect().width() - margins.left() - margins.right();
    const int H = contentsRect().height() - margins.top() - margins.bottom();
    const QSize view = ZdqFieldOfView::frameSize(controller->machineName, m_fieldIndex);
    const QSize fitted = fitPreview(W, H, view.width(), view.height());
    const bool changed = fitted != QSize(previewWidth, previewHeight);
    previewWidth = fitted.width();
    previewHeight = fitted.height();
    ui->label_Cam->setMaximumSize(previewWidth, previewHeight);
    return changed;
}

void Varnu_ImageFrame::updatePreviewFieldHandle(int index) {
    qDebug() << "updatePreviewFieldHandle.";
    m_fieldIndex = index;
    fitPreviewArea();
    if (previewing && previewThread) {
        if (!previewThread->isFinished()) {
            // The start is still under way (or waits for the last stop):
            // the field is set again once it has ended, without holding the
            // GUI thread.
            deferPreviewFieldUpdate();
            return;
        }
        previewThread->setPreviewFieldOfView(0, index);
        clearPicture();
        windowHandle = m_surface->handle();
        camera()->ZDQ_PreviewSetPos(0, windowHandle, 0, 0, previewWidth, previewHeight);
        qDebug() << "previewStart";
    }
}

void Varnu_ImageFrame::deferPreviewFieldUpdate() {
    if (m_fieldUpdatePending) {
        return;
    }
    m_fieldUpdatePending = true;
    const auto update = [this] {
        if (!m_fieldUpdatePending) {
            return;
        }
        m_fieldUpdatePending = false;
        controller->camOpt.loadCamOpt(ZdqCurrent_Resolution);
        updatePreviewFieldHandle(controller->camOpt.zdqCurrentCamSet.Resolution);
    };
    connect(previewThread, &QThread::finished, this, update);
    // It may have ended before the connection was made.
    if (previewThread->isFinished()) {
        QMetaObject::invokeMethod(this, update, Qt::QueuedConnection);
    }
}

void Varnu_ImageFrame::slot_updatePreviewField(QString changeType) {
    // The column's own width reaches this frame through the layout (a
    // resize); the settings panel may have changed the resolution.
    Q_UNUSED(changeType);
    controller->camOpt.loadCamOpt(ZdqCurrent_Resolution);
    updatePreviewFieldHandle(controller->camOpt.zdqCurrentCamSet.Resolution);
}

void Varnu_ImageFrame::expChangeHandle() {
    aeExposure = 0;
}

void Varnu_ImageFrame::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    controller->camOpt.loadCamOpt(ZdqCurrent_Resolution);
    updatePreviewFieldHandle(controller->camOpt.zdqCurrentCamSet.Resolution);
}

void Varnu_ImageFrame::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    if (m_fieldIndex < 0 || !fitPreviewArea() || !previewing || !previewThread) {
        return;
    }
    if (!previewThread->isFinished()) {
        deferPreviewFieldUpdate();
        return;
    }
    // The same field of view in a window of the new size.
    camera()->ZDQ_PreviewSetPos(0, windowHandle, 0, 0, previewWidth, previewHeight);
}

void Varnu_ImageFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        setWindowTitle(tr("Frame"));
        ui->label_Cam->setText(QString());
    }
    event->accept();
}

void Varnu_ImageFrame::clearPicture() {
    ui->label_Cam->clear();
    m_surface->clearFrame();
    m_surface->show();
}

// ---- Automatic exposure and focus ------------------------------------------

QRect Varnu_ImageFrame::autoRegion() const {
    switch (controller->machineName) {
        case Varnu_320: {
            // The region covers the same part of the picture at every
            // resolution: it is given in the pixels of the frame delivered.
            controller->camOpt.loadCamOpt(ZdqCurrent_Resolution);
            const int step = ZdqFieldOfView::addressingStep(
                controller->machineName, controller->camOpt.zdqCurrentCamSet.Resolution);
            return QRect(216 / step, 174 / step, 1280 / step, 1024 / step);
        }
        case Varnu_520:
        case Varnu_550:
            return QRect(0, 0, 2592, 1944);
        default:
            return QRect(0, 0, 0, 0);
    }
}

QPoint Varnu_ImageFrame::dialogPoint(QSize dialogSize) const {
    const QPoint origin = parentWidget() ? parentWidget()->mapToGlobal(pos()) : pos();
    return origin +
           QPoint((width() - dialogSize.width()) / 2, (height() - dialogSize.height()) / 2);
}

bool Varnu_ImageFrame::cameraPresent() {
    const ZdqCameraCtrl::Access access = camera()->cameraAccess();
    if (access == ZdqCameraCtrl::Access::Ready) {
        return true;
    }
    QMessageBox::warning(this, tr("Warning"), ZdqCameraCtrl::accessWarning(access));
    return false;
}

void Varnu_ImageFrame::afterPreviewStart(void (Varnu_ImageFrame::*step)()) {
    if (!previewThread || previewThread->isFinished()) {
        (this->*step)();
        return;
    }
    if (m_afterStart) {
        // One automatic step already waits for this start.
        return;
    }
    m_afterStart = step;
    m_afterStartEnded =
        connect(previewThread, &QThread::finished, this, &Varnu_ImageFrame::runStepAfterStart);
    // It may have ended before the connection was made.
    if (previewThread->isFinished()) {
        QMetaObject::invokeMethod(this, &Varnu_ImageFrame::runStepAfterStart, Qt::QueuedConnection);
    }
    m_previewStartBound.start();
}

void Varnu_ImageFrame::dropStepAfterStart() {
    disconnect(m_afterStartEnded);
    m_afterStart = nullptr;
    m_previewStartBound.stop();
}

void Varnu_ImageFrame::runStepAfterStart() {
    const auto step = m_afterStart;
    dropStepAfterStart();
    if (step && previewing) {
        (this->*step)();
    }
}

void Varnu_ImageFrame::autoExposureClickHandle() {
    if (!previewing) {
        return;
    }
    qDebug() << "autoExposureClickHandle.";
    afterPreviewStart(&Varnu_ImageFrame::autoExposureStart);
}

void Varnu_ImageFrame::autoExposureStart() {
    if (!cameraPresent()) {
        return;
    }
    const QRect region = autoRegion();
    camera()->ZDQ_AESetRegion(0, region.x(), region.y(), region.width(), region.height());
    camera()->ZDQ_AESetCallback(0, &Varnu_ImageFrame::zdqAeCallBack, this);
    camera()->ZDQ_AEStart(0, true, kAeSteps, kAeTarget);
    aePending = true;
    m_aeRunning = true;
    m_aeTimeout.start();
    emit createAEDialog(dialogPoint(QSize(220, 90)));
}

void Varnu_ImageFrame::zdqAeCallBack(bool success, int exposure, void* context) {
    qDebug() << "zdqAeCallBack:" << (success ? "true" : "false");
    qDebug() << "AE ExposureTime:" << exposure;
    auto* frame = static_cast<Varnu_ImageFrame*>(context);
    QMetaObject::invokeMethod(
        frame, [frame, success, exposure] { frame->aeSettledHandle(success, exposure); },
        Qt::QueuedConnection);
}

void Varnu_ImageFrame::aeSettledHandle(bool, int exposure) {
    if (!m_aeRunning) {
        return;
    }
    m_aeRunning = false;
    m_aeTimeout.stop();
    camera()->ZDQ_AEStart(0, false, kAeSteps, kAeTarget);
    aeExposure = exposure;
    emit destroyAEDialog();
    emit updateAeTime(exposure);
}

void Varnu_ImageFrame::aeTimeoutHandle() {
    if (!m_aeRunning) {
        return;
    }
    m_aeRunning = false;
    camera()->ZDQ_AEStart(0, false, kAeSteps, kAeTarget);
    aePending = false;
    emit destroyAEDialog();
    QMessageBox::warning(this, tr("Warning"), tr("Automatic exposure did not settle."));
}

void Varnu_ImageFrame::autoFocusClickHandle() {
    if (!previewing) {
        return;
    }
    qDebug() << "autoFocusClickHandle.";
    afterPreviewStart(&Varnu_ImageFrame::autoFocusStart);
}

void Varnu_ImageFrame::autoFocusStart() {
    if (!cameraPresent()) {
        return;
    }
    if (autoFocusThread) {
        disconnect(autoFocusThread, &AutoFocusThread::lensFocusReset, this,
                   &Varnu_ImageFrame::lensFocusResetHandle);
        delete autoFocusThread;
    }
    autoFocusThread = new AutoFocusThread();
    autoFocusThread->setTimeScale(m_afTimeScale);
    connect(autoFocusThread, &AutoFocusThread::lensFocusReset, this,
            &Varnu_ImageFrame::lensFocusResetHandle, Qt::BlockingQueuedConnection);
    m_focusValues.clear();
    m_focusCalls = 0;
    afBest = 0;
    autoFocusThread->start(QThread::InheritPriority);
    emit createAFDialog(dialogPoint(QSize(220, 90)));
}

void Varnu_ImageFrame::lensFocusResetHandle() {
    qDebug() << "lensFocusResetHandle.";
    const QRect region = autoRegion();
    camera()->ZDQ_AFSetRegion(0, region.x(), region.y(), region.width(), region.height());
    camera()->ZDQ_AFSetCallback(0, &Varnu_ImageFrame::zdqAfCallBack, this);
    camera()->ZDQ_AFStart(0, true);
    m_afMeasuring = true;
    // Frames of the lens standing before its inward drive say nothing about
    // the search; the drive runs at most as long as the outward one.
    m_afInwardSince.start();
    m_afInwardAfterMs = std::lround(AutoFocusThread::kBeforeFocusInMs * m_afTimeScale);
    m_afTimeout.start(static_cast<int>(std::lround(
        (AutoFocusThread::kBeforeFocusInMs + AutoFocusThread::kFocusOutMs) * m_afTimeScale)));
}

void Varnu_ImageFrame::zdqAfCallBack(int focusValue, void* context) {
    auto* frame = static_cast<Varnu_ImageFrame*>(context);
    QMetaObject::invokeMethod(
        frame, [frame, focusValue] { frame->focusValueHandle(focusValue); }, Qt::QueuedConnection);
}

void Varnu_ImageFrame::focusValueHandle(int value) {
    if (!m_afMeasuring || m_afInwardSince.elapsed() < m_afInwardAfterMs) {
        return;
    }
    m_focusValues.append(value);
    const int call = m_focusCalls++;
    if (call % 2 == 0) {
        return;
    }
    long long sum = 0;
    for (int v : m_focusValues) {
        sum += v;
    }
    const int average = m_focusValues.isEmpty() ? 0 : static_cast<int>(sum / m_focusValues.size());
    qDebug() << "ava:" << average;
    m_focusValues.clear();
    if (afBest <= average) {
        // Sharper, or no sharper yet (a far blur changes the measure slowly):
        // the lens keeps moving until the sharpness drops.
        afBest = average;
        return;
    }
    afFinish();
}

void Varnu_ImageFrame::afFinish() {
    if (!m_afMeasuring) {
        return;
    }
    m_afMeasuring = false;
    m_afTimeout.stop();
    camera()->ZDQ_AFStart(0, false);
    afBest = 0;
    emit destroyAFDialog();
}

// ---- Capture ------------------------------------------------------------------

void Varnu_ImageFrame::captureClickHandle() {
    qDebug() << "captureClickHandle.";
    captureStart(0);
}

void Varnu_ImageFrame::accCaptureClickHandle() {
    qDebug() << "accCaptureClickHandle.";
    captureStart(1);
}

void Varnu_ImageFrame::captureStart(int mode) {
    previewStop();
    if (!awaitCameraWork()) {
        return;
    }
    updateExpInfo();
    if (captureThread) {
        disconnect(captureThread, &QThread::finished, this, &Varnu_ImageFrame::finishedHandle);
        captureThread->deleteLater();
    }
    captureThread = new ZdqCaptureThread();
    connect(captureThread, &QThread::finished, this, &Varnu_ImageFrame::finishedHandle);
    captureThread->setAccCapture(mode == 1);
    captureThread->setExperiment(currentRecord->uuid, currentRecord->dateTime.date());
    if (aePending) {
        captureThread->setExpTime(aeExposure);
        aePending = false;
    }
    captureThread->start(QThread::InheritPriority);

    if (runningDialog) {
        disconnect(runningDialog, &RunningDialog::stopCapThread, this,
                   &Varnu_ImageFrame::stopCapThreadHandle);
        delete runningDialog;
    }
    runningDialog = new RunningDialog(this);
    runningDialog->setAccCapture(mode == 1);
    runningDialog->startProgress();
    runningDialog->move(dialogPoint(runningDialog->size()));
    connect(runningDialog, &RunningDialog::stopCapThread, this,
            &Varnu_ImageFrame::stopCapThreadHandle);
    clearPicture();
    // The thread may have finished already; its queued finished closes the
    // dialog from inside exec in every case.
    runningDialog->exec();
}

void Varnu_ImageFrame::updateExpInfo() {
    qDebug() << "updateExpInfo.";
    currentRecord = std::make_unique<VarnuExperiment>();
    currentRecord->expType = Varnu;
    const QDateTime now = QDateTime::currentDateTime();
    currentRecord->dateTime = now;
    const QString today = now.date().toString(QStringLiteral("yy-MM-dd"));

    UserOpts& options = controller->userOpt;
    options.loadUserOpt(UserOpt_curDate);
    options.loadUserOpt(UserOpt_curExpNum);
    if (options.curDate != today) {
        options.curDate = today;
        options.curExpNum = 0;
    }
    options.curExpNum += 1;
    // The capture still finds a free picture name; the next one may then
    // take this number again.
    if (!options.saveUserOpts({UserOpt_curDate, UserOpt_curExpNum})) {
        tellSettingsNotSaved(this);
    }

    currentRecord->name = QStringLiteral("Varnu") + GelPictureFiles::numberText(options.curExpNum);
    ZdqCameraCtrl* zdq = camera();
    zdq->curExpName = currentRecord->name;
    zdq->curExpUuid = currentRecord->uuid;
    zdq->curExpDate = now.date();
    currentRecord->picSavedPath = GelPictureFiles::stationFolder(now.date());

    const ZdqCamSet& set = controller->camOpt.zdqCurrentCamSet;
    switch (controller->machineName) {
        case Varnu_320:
            currentRecord->resolution = zdqPelion1MResolutionToString(set.Resolution);
            break;
        case Varnu_520:
        case Varnu_550:
            currentRecord->resolution = zdqPelion5MResolutionToString(set.Resolution);
            break;
        default:
            break;
    }
    currentRecord->binning = 0;
    currentRecord->brightness = set.BrightNess;
    currentRecord->contrast = set.Contrast;
    currentRecord->gamma = set.Gamma;
    const bool saved = controller->varnuExperimentDB->insertExperiment(*currentRecord);
    qDebug() << currentRecord->name << " saved " << (saved ? "true" : "false");
}

void Varnu_ImageFrame::stopCapThreadHandle() {
    if (!captureThread) {
        return;
    }
    captureThread->setStopFlag(true);
    controller->camOpt.loadCamOpt(ZdqCurrent_Exposure);
    const int bound = qMax(0, controller->camOpt.zdqCurrentCamSet.Exposure) + kCaptureStopMarginMs;
    if (!captureThread->wait(static_cast<unsigned long>(bound))) {
        QMessageBox::warning(this, tr("Warning"),
                             tr("The capture is still running; it ends after its frame."));
    }
}

void Varnu_ImageFrame::finishedHandle() {
    qDebug() << "finishedHandle.";
    if (runningDialog) {
        runningDialog->reject();
        disconnect(runningDialog, &RunningDialog::stopCapThread, this,
                   &Varnu_ImageFrame::stopCapThreadHandle);
        runningDialog->deleteLater();
        runningDialog = nullptr;
    }
    ZdqCameraCtrl* zdq = camera();
    if (!captureThread || !captureThread->captured() || !zdq->frameBuffer) {
        // No picture: nothing to export, process or put in a report.
        emit updateButton(false);
        return;
    }
    // The capture may have given the row another number (a picture of that
    // name existed), its real size and the exposure the camera took.
    if (currentRecord) {
        if (std::unique_ptr<VarnuExperiment> stored =
                controller->varnuExperimentDB->loadByUuid(currentRecord->uuid)) {
            currentRecord = std::move(stored);
            zdq->curExpName = currentRecord->name;
        }
    }
    const QImage frame(zdq->frameBuffer, zdq->frameWidth, zdq->frameHeight, zdq->frameWidth,
                       QImage::Format_Grayscale8);
    // Turned by 180 degrees, as the stored picture holds it.
    QImage image = frame.mirrored(true, true);
    const QSize labelSize = ui->label_Cam->size();
    if (image.width() >= labelSize.width() || image.height() >= labelSize.height()) {
        image = image.scaled(labelSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        controller->userOpt.loadUserOpt(UserOpt_imageShowMode);
        if (controller->userOpt.imageShowMode == 0) {
            ui->label_Cam->setScaledContents(false);
        } else if (controller->userOpt.imageShowMode == 1) {
            ui->label_Cam->setScaledContents(true);
        }
    } else {
        ui->label_Cam->setScaledContents(false);
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    controller->userOpt.loadUserOpt(UserOpt_isAddWaterMark);
    if (controller->userOpt.isAddWaterMark == 0) {
        drawOverlay(pixmap);
    }
    m_surface->hide();
    ui->label_Cam->setPixmap(pixmap);
    emit updateButton(true);
}

void Varnu_ImageFrame::drawOverlay(QPixmap& pixmap) {
    if (!currentRecord) {
        return;
    }
    std::unique_ptr<VarnuExperiment> record =
        controller->varnuExperimentDB->loadByUuid(currentRecord->uuid);
    if (!record) {
        return;
    }
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.setPen(Qt::red);
    QFont font = painter.font();
    font.setPixelSize(15);
    painter.setFont(font);
    const int x = pixmap.width() - 180;
    const int h = pixmap.height();
    QString exposure = record->exposureTime;
    QString gain = record->gain;
    exposure.remove(QLatin1Char(','));
    gain.remove(QLatin1Char(','));
    painter.drawText(x, h - 85, tr("Resolution: ") + record->resolution);
    painter.drawText(x, h - 70, tr("Exposure:   ") + exposure);
    painter.drawText(x, h - 55, tr("Gain:       ") + gain);
    painter.drawText(x, h - 40, tr("Brightness: ") + QString::number(record->brightness));
    painter.drawText(x, h - 25, tr("Contrast:   ") + QString::number(record->contrast));
    painter.drawText(x, h - 10, tr("Gamma:      ") + QString::number(record->gamma));
}

// ---- Export ---------------------------------------------------------------------

void Varnu_ImageFrame::slot_ExportClick() {
    const QDate today = QDate::currentDate();
    const QString folder =
        GelPictureFiles::storageFolder(storagePathOrDefault(controller->userOpt), today);
    QDir().mkpath(folder);
    const QString defaultName =
        folder + QTime::currentTime().toString(QStringLiteral("hh-mm-ss-zzz"));
    QString selectedFilter;
    const QString chosen = QFileDialog::getSaveFileName(
        nullptr, tr("Save Image"), defaultName,
        QStringLiteral("600dpi(*.tif);;300dpi(*.tif);;*.bmp;;*.jpg;;*.png"), &selectedFilter);
    if (chosen.isEmpty()) {
        return;
    }
    ZdqCameraCtrl* zdq = camera();
    if (!zdq->frameBuffer) {
        return;
    }
    const QImage picture = QImage(zdq->frameBuffer, zdq->frameWidth, zdq->frameHeight,
                                  zdq->frameWidth, QImage::Format_Grayscale8)
                               .mirrored(true, true);
    const PictureExportPlan plan = planPictureExport(chosen, selectedFilter);
    if (!writePictureExport(plan, picture)) {
        QMessageBox::warning(this, tr("Warning"),
                             tr("The picture could not be saved: %1").arg(plan.path));
        return;
    }
    if (plan.tiff) {
        writeAudit(QStringLiteral("点击导出, 保存路径: %1").arg(plan.path),
                   QStringLiteral("Click Export to save the path: %1").arg(plan.path));
    }
}

void Varnu_ImageFrame::slot_WpsEditClick() {
    if (!currentRecord) {
        return;
    }
    LoadingDialog loading(this, tr("Opening external application WPS..."));
    loading.setModal(true);
    loading.show();
    loading.move(dialogPoint(loading.size()));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    delete report;
    report = new ReportWps();
    if (!report->openReportTemplate()) {
        loading.reject();
        QMessageBox::warning(this, tr("Warning"), report->failureReason());
        return;
    }
    // The picture named exactly by the day's number ("007.tif", not
    // "1007.tif"); the record keeps its name.
    const QString number = currentRecord->name.mid(5);
    const QRegularExpression exact(QStringLiteral("^") + QRegularExpression::escape(number) +
                                   QStringLiteral("\\.[^.]+$"));
    QString picName;
    for (const QString& entry :
         QDir(currentRecord->picSavedPath).entryList(QDir::Files, QDir::Name)) {
        if (exact.match(entry).hasMatch()) {
            picName = entry;
        }
    }
    qDebug() << "picName:" << picName;

    UserOpts& options = controller->userOpt;
    options.loadUserOpt(UserOpt_MainTitle);
    options.loadUserOpt(UserOpt_SubTitle);
    const QString realName =
        controller->currentUser ? controller->currentUser->realName : QString();
    report->setBookmarkText(QStringLiteral("MainTitle"), options.MainTitle);
    report->setBookmarkText(QStringLiteral("SubTitle"), options.SubTitle);
    report->setBookmarkText(QStringLiteral("UserLabel"), tr("User:"));
    report->setBookmarkText(QStringLiteral("User"), realName);
    report->setBookmarkText(QStringLiteral("ReportDateLabel"), tr("ReportDate:"));
    report->setBookmarkText(QStringLiteral("ReportDate"),
                            QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    report->setBookmarkText(QStringLiteral("PictureName1"), tr("PictureName:") + picName);
    report->insertBookmarkPicture(QStringLiteral("Picture1"),
                                  currentRecord->picSavedPath + picName);

    // The report is written once, whole, now that it is filled.
    const ReportResult result = completeReport(*report);
    loading.reject();
    tellReportResult(this, result);
    const ReportAuditTexts audit = reportAuditTexts(result, picName);
    if (!audit.english.isEmpty()) {
        writeAudit(audit.chinese, audit.english);
    }
}

void Varnu_ImageFrame::writeAudit(const QString& chinese, const QString& english) {
    const QString handler = controller->currentUser ? controller->currentUser->userName : QString();
    controller->auditTrailDB->insertAuditTrailPair(HomePage, handler, chinese, english);
}
