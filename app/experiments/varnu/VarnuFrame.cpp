#include "VarnuFrame.h"

#include "ui_VarnuFrame.h"

#include "Varnu_BottomBarFrame.h"
#include "Varnu_FuncsFrame.h"
#include "Varnu_ImageFrame.h"
#include "Varnu_ToolsFrame.h"
#include "base/Enumerations.h"
#include "controller/CI_MainControl.h"

#include <QFile>

static void initGelPageResources() {
    Q_INIT_RESOURCE(gelpage);
}

VarnuFrame::VarnuFrame(QWidget* parent) : QFrame(parent), ui(new Ui::VarnuFrame) {
    initGelPageResources();
    ui->setupUi(this);
    mainControl = CI_MainControl::getInstance();

    Varnu_ImageFrame* image = ui->frame_Image;
    Varnu_BottomBarFrame* bar = ui->frame_BottomBar;
    Varnu_ToolsFrame* tools = ui->frame_Tools;
    Varnu_FuncsFrame* funcs = ui->frame_Funcs;
    connect(funcs, &Varnu_FuncsFrame::showToolFrame, tools, &Varnu_ToolsFrame::showToolFrameHandle);
    connect(funcs, &Varnu_FuncsFrame::hideToolFrame, tools, &Varnu_ToolsFrame::hideToolFrameHandle);
    connect(bar, &Varnu_BottomBarFrame::sig_ShowImgProcessFrame, this,
            &VarnuFrame::slot_ShowImgProcessFrame);
    connect(image, &Varnu_ImageFrame::hideToolFrame, tools, &Varnu_ToolsFrame::hideToolFrameHandle);
    connect(this, &VarnuFrame::enterVrFrame, image, &Varnu_ImageFrame::enterVrFrameHandle);
    connect(tools, &Varnu_ToolsFrame::updatePreviewField, image,
            &Varnu_ImageFrame::updatePreviewFieldHandle);
    connect(image, &Varnu_ImageFrame::sig_ResetFuncsFrame, funcs,
            &Varnu_FuncsFrame::slot_ResetFuncsFrame);
    connect(funcs, &Varnu_FuncsFrame::previewClick, image, &Varnu_ImageFrame::previewClickHandle);
    connect(funcs, &Varnu_FuncsFrame::captureClick, image, &Varnu_ImageFrame::captureClickHandle);
    connect(funcs, &Varnu_FuncsFrame::accCaptureClick, image,
            &Varnu_ImageFrame::accCaptureClickHandle);
    connect(funcs, &Varnu_FuncsFrame::autoExposureClick, image,
            &Varnu_ImageFrame::autoExposureClickHandle);
    connect(funcs, &Varnu_FuncsFrame::autoFocusClick, image,
            &Varnu_ImageFrame::autoFocusClickHandle);
    connect(tools, &Varnu_ToolsFrame::sig_UpdateButton_2, funcs,
            &Varnu_FuncsFrame::slot_UpdateButton_2);
    connect(image, &Varnu_ImageFrame::updatePreviewLabel, bar,
            &Varnu_BottomBarFrame::updatePreviewLabelHandle);
    connect(image, &Varnu_ImageFrame::updateButton, bar, &Varnu_BottomBarFrame::updateButtonHandle);
    connect(bar, &Varnu_BottomBarFrame::sig_ExportClick, image,
            &Varnu_ImageFrame::slot_ExportClick);
    connect(bar, &Varnu_BottomBarFrame::sig_WpsEditClick, image,
            &Varnu_ImageFrame::slot_WpsEditClick);
    connect(this, &VarnuFrame::exitVrFrame, image, &Varnu_ImageFrame::exitVrFrameHandle);
    connect(tools, &Varnu_ToolsFrame::sig_Show, image, &Varnu_ImageFrame::slot_updatePreviewField);
    connect(tools, &Varnu_ToolsFrame::sig_Hide, image, &Varnu_ImageFrame::slot_updatePreviewField);
    connect(image, &Varnu_ImageFrame::createAEDialog, bar,
            &Varnu_BottomBarFrame::createAEDialogHandle);
    connect(image, &Varnu_ImageFrame::destroyAEDialog, bar,
            &Varnu_BottomBarFrame::destroyAEDialogHandle);
    connect(image, &Varnu_ImageFrame::createAFDialog, bar,
            &Varnu_BottomBarFrame::createAFDialogHandle);
    connect(image, &Varnu_ImageFrame::destroyAFDialog, bar,
            &Varnu_BottomBarFrame::destroyAFDialogHandle);
    connect(tools, &Varnu_ToolsFrame::previewStart, image, &Varnu_ImageFrame::previewStartHandle);
    connect(funcs, &Varnu_FuncsFrame::savePara, tools, &Varnu_ToolsFrame::saveParaHandle);
    connect(image, &Varnu_ImageFrame::updateAeTime, tools, &Varnu_ToolsFrame::updateAeTimeHandle);
    connect(tools, &Varnu_ToolsFrame::expChange, image, &Varnu_ImageFrame::expChangeHandle);
    loadStyleSheet(this, mainControl->getLanguageID());
}

VarnuFrame::~VarnuFrame() {
    delete ui;
}

Varnu_ImageFrame* VarnuFrame::imageFrame() const {
    return ui->frame_Image;
}

Varnu_ToolsFrame* VarnuFrame::toolsFrame() const {
    return ui->frame_Tools;
}

Varnu_FuncsFrame* VarnuFrame::funcsFrame() const {
    return ui->frame_Funcs;
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
