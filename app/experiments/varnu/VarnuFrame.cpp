#include "VarnuFrame.h"

#include "ui_VarnuFrame.h"

#include "VarnuCaptureFrame.h"
#include "Varnu_BottomBarFrame.h"
#include "Varnu_ImageFrame.h"
#include "base/Enumerations.h"
#include "controller/CI_MainControl.h"

#include <QFile>
#include <QVBoxLayout>

static void initGelPageResources() {
    Q_INIT_RESOURCE(gelpage);
}

VarnuFrame::VarnuFrame(QWidget* parent) : QFrame(parent), ui(new Ui::VarnuFrame) {
    initGelPageResources();
    ui->setupUi(this);
    mainControl = CI_MainControl::getInstance();
    // The tools column has no camera-settings panel yet, so it stays hidden.
    ui->frame_Tools->hide();
    auto* funcsLayout = new QVBoxLayout(ui->frame_Funcs);
    funcsLayout->setContentsMargins(0, 0, 0, 0);
    auto* capture = new VarnuCaptureFrame(ui->frame_Funcs);
    capture->setObjectName(QStringLiteral("frame_VarnuCapture"));
    funcsLayout->addWidget(capture);

    Varnu_ImageFrame* image = ui->frame_Image;
    Varnu_BottomBarFrame* bar = ui->frame_BottomBar;
    connect(capture, &VarnuCaptureFrame::sig_PreviewClick, image,
            &Varnu_ImageFrame::previewClickHandle);
    connect(capture, &VarnuCaptureFrame::sig_CaptureClick, image,
            &Varnu_ImageFrame::captureClickHandle);
    connect(capture, &VarnuCaptureFrame::sig_AccCaptureClick, image,
            &Varnu_ImageFrame::accCaptureClickHandle);
    connect(capture, &VarnuCaptureFrame::sig_AutoExposureClick, image,
            &Varnu_ImageFrame::autoExposureClickHandle);
    connect(capture, &VarnuCaptureFrame::sig_AutoFocusClick, image,
            &Varnu_ImageFrame::autoFocusClickHandle);
    connect(image, &Varnu_ImageFrame::sig_ResetFuncsFrame, capture,
            &VarnuCaptureFrame::resetFunsFrameHandle);
    connect(bar, &Varnu_BottomBarFrame::sig_ShowImgProcessFrame, this,
            &VarnuFrame::slot_ShowImgProcessFrame);
    connect(this, &VarnuFrame::enterVrFrame, image, &Varnu_ImageFrame::enterVrFrameHandle);
    connect(image, &Varnu_ImageFrame::updatePreviewLabel, bar,
            &Varnu_BottomBarFrame::updatePreviewLabelHandle);
    connect(image, &Varnu_ImageFrame::updateButton, bar, &Varnu_BottomBarFrame::updateButtonHandle);
    connect(bar, &Varnu_BottomBarFrame::sig_ExportClick, image,
            &Varnu_ImageFrame::slot_ExportClick);
    connect(bar, &Varnu_BottomBarFrame::sig_WpsEditClick, image,
            &Varnu_ImageFrame::slot_WpsEditClick);
    connect(this, &VarnuFrame::exitVrFrame, image, &Varnu_ImageFrame::exitVrFrameHandle);
    connect(image, &Varnu_ImageFrame::createAEDialog, bar,
            &Varnu_BottomBarFrame::createAEDialogHandle);
    connect(image, &Varnu_ImageFrame::destroyAEDialog, bar,
            &Varnu_BottomBarFrame::destroyAEDialogHandle);
    connect(image, &Varnu_ImageFrame::createAFDialog, bar,
            &Varnu_BottomBarFrame::createAFDialogHandle);
    connect(image, &Varnu_ImageFrame::destroyAFDialog, bar,
            &Varnu_BottomBarFrame::destroyAFDialogHandle);
    loadStyleSheet(this, mainControl->getLanguageID());
}

VarnuFrame::~VarnuFrame() {
    delete ui;
}

Varnu_ImageFrame* VarnuFrame::imageFrame() const {
    return ui->frame_Image;
}

void VarnuFrame::loadStyleSheet(QWidget* page, int languageId) {
    QString path;
    switch (languageId) {
        case 0:
            path = QStringLiteral(":/Style/captureframe.css");
            break;
        case 1:
            path = QStringLiteral(":/Style/captureframe_en.css");
            break;
        default:
            qFatal("Unknow LanguageID.");
    }
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) {
        bytes = file.readAll();
    }
    const int end = bytes.indexOf('\0');
    if (end >= 0) {
        bytes.truncate(end);
    }
    page->setStyleSheet(QString::fromLatin1(bytes));
}

void VarnuFrame::slot_ShowImgProcessFrame() {
    emit sig_ChangeFrame(ImageProcessFrameID);
}

void VarnuFrame::slot_EnterVrFrame() {
    emit enterVrFrame();
}

void VarnuFrame::exitExperimentFrameHandle() {
    emit exitVrFrame();
}

void VarnuFrame::showEvent(QShowEvent* event) {
    mainControl->expType = Varnu;
    QFrame::showEvent(event);
}

void VarnuFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        setWindowTitle(tr("Frame"));
        loadStyleSheet(this, mainControl->getLanguageID());
    }
    QFrame::changeEvent(event);
}
