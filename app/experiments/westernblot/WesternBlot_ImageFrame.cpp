#include "WesternBlot_ImageFrame.h"

#include "ui_WesternBlot_ImageFrame.h"

#include "WesternBlotPicture.h"
#include "camera/TucsenCamCtrl.h"
#include "camera/TucsenGrabThread.h"
#include "camera/TucsenShowThread.h"
#include "controller/CI_MainControl.h"
#include "widgets/InitialDialog.h"

#include <QMessageBox>
#include <QMutexLocker>
#include <QTimer>
#include <QtDebug>

namespace {
// A grab waits at most one exposure bounded by the camera library; the
// loops look at the stop flag between frames.
constexpr unsigned long kJoinBoundMs = 5000;
}  // namespace

WesternBlot_ImageFrame::WesternBlot_ImageFrame(QWidget* parent)
    : QFrame(parent),
      ui(new Ui::WesternBlot_ImageFrame),
      mainControl(CI_MainControl::getInstance()),
      camCtrl(TucsenCamCtrl::getInstance()),
      grabThread(new TucsenGrabThread),
      showThread(new TucsenShowThread),
      firstFrameTimer(new QTimer(this)) {
    ui->setupUi(this);
    connect(showThread, SIGNAL(updateImg()), this, SLOT(updateImgHandle()));
    camCtrl->curFuncFrameType = 0;
    firstFrameTimer->setSingleShot(true);
    firstFrameTimer->setInterval(kFirstFrameBoundMs);
    connect(firstFrameTimer, &QTimer::timeout, this, &WesternBlot_ImageFrame::firstFrameMissing);
}

WesternBlot_ImageFrame::~WesternBlot_ImageFrame() {
    camCtrl->stopFlag = true;
    if (!joinPreviewThreads()) {
        // A thread must not be destroyed while it runs; its loop ends with
        // the camera library's bounded read.
        qWarning() << "Preview threads still running at destruction.";
        grabThread->wait();
        showThread->wait();
    }
    delete grabThread;
    delete showThread;
    delete ui;
}

void WesternBlot_ImageFrame::enterWbFrameHandle() {
    emit hideToolFrame();
    emit sig_ResetFuncsFrame();
    pageEntered = true;
    mainControl->userOpt.loadUserOpt(UserOpt_imageShowMode);
    imageShowMode = mainControl->userOpt.imageShowMode;
    showBusyDialog = true;
    delete[] mainControl->pictureBuffer;
    mainControl->pictureBuffer = nullptr;
    previewStart();
}

void WesternBlot_ImageFrame::exitFrameHandle() {
    previewClose();
    if (camCtrl->curFuncFrameType == 1) {
        camCtrl->curFuncFrameType = 0;
    }
    emit hideToolFrame();
    emit sig_ResetFuncsFrame();
    camCtrl->clearFrameList();
    pageEntered = false;
}

void WesternBlot_ImageFrame::previewStartHandle() {
    if (previewing) {
        return;
    }
    previewFromButton = true;
    previewStart();
}

bool WesternBlot_ImageFrame::joinPreviewThreads() {
    const bool grabEnded = grabThread->wait(kJoinBoundMs);
    const bool showEnded = showThread->wait(kJoinBoundMs);
    return grabEnded && showEnded;
}

void WesternBlot_ImageFrame::previewStart() {
    qDebug() << "previewStart.";
    if (camCtrl->imageBuffer == nullptr) {
        // No cooled camera was started; start-up has told the user.
        qDebug() << "No camera to preview.";
        return;
    }
    // The loops of the last preview end before the camera serves new ones.
    if (!joinPreviewThreads()) {
        QMessageBox::warning(this, QStringLiteral("Warning"),
                             tr("The camera preview did not stop."));
        return;
    }
    previewing = true;
    firstFrame = true;
    ui->label_Cam->clear();
    ui->frame_Btn->hide();
    emit updateButton(false);
    emit sig_OpenLight();
    camCtrl->resumeDevice();
    applyCamSet();
    camCtrl->stopFlag = false;
    grabThread->start(QThread::InheritPriority);
    showThread->start(QThread::InheritPriority);
    emit updatePreviewLabel(true);
    firstFrameTimer->start();
    if (previewFromButton) {
        runInitialDialog();
    }
}

void WesternBlot_ImageFrame::previewClose() {
    qDebug() << "previewClose.";
    camCtrl->stopFlag = true;
    camCtrl->suspendDevice();
    previewing = false;
    firstFrameTimer->stop();
    if (!joinPreviewThreads()) {
        qWarning() << "Preview threads did not stop in time.";
    }
    emit updatePreviewLabel(false);
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

void WesternBlot_ImageFrame::runInitialDialog() {
    if (initialDialog != nullptr) {
        return;
    }
    initialDialog = new InitialDialog(this);
    const QPoint centre =
        mapToGlobal(QPoint(0, 0)) +
        QPoint((width() - initialDialog->width()) / 2, (height() - initialDialog->height()) / 2);
    initialDialog->move(centre);
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
        QMessageBox::warning(this, QStringLiteral("Warning"), tr("No picture from the camera."));
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
    updateLabelCam(pixmap);
    if (firstFrame) {
        firstFrameTimer->stop();
        emit updateProcessButton();
        firstFrame = false;
    }
}

void WesternBlot_ImageFrame::updateLabelCam(QPixmap& pix) {
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
    label->setAlignment(Qt::AlignCenter);
    label->setPixmap(pix);
    label->update();
}

void WesternBlot_ImageFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QFrame::changeEvent(event);
}
