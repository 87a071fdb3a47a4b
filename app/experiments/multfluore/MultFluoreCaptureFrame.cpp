#include "MultFluoreCaptureFrame.h"

#include "ui_MultFluoreCaptureFrame.h"

#include "FluorescenceCommands.h"
#include "MultFluoreResources.h"
#include "controller/CI_MainControl.h"
#include "serial/LightCtrl.h"
#include "style/StyleSheet.h"

#include <QEvent>
#include <QIcon>

MultFluoreCaptureFrame::MultFluoreCaptureFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::MultFluoreCaptureFrame) {
    ensureMultFluoreResources();
    // The form binds the slots only after the combo boxes hold their items,
    // so no light or filter command leaves while the panel is built.
    ui->setupUi(this);
    m_mainControl = CI_MainControl::getInstance();
    m_lightCtrl = LightCtrl::getInstance();
    initFrame();
}

MultFluoreCaptureFrame::~MultFluoreCaptureFrame() {
    delete ui;
}

void MultFluoreCaptureFrame::initFrame() {
    loadStyleSheet();
    const QIcon off(QStringLiteral(":/Image/lightoff.png"));
    const QIcon on(QStringLiteral(":/Image/lighton.png"));
    ui->comboBox_Light->setItemIcon(0, off);
    for (int item = 1; item < ui->comboBox_Light->count(); ++item) {
        ui->comboBox_Light->setItemIcon(item, on);
    }
}

void MultFluoreCaptureFrame::loadStyleSheet() {
    setStyleSheet(
        readLanguageStyleSheet(QStringLiteral("captureframe"), m_mainControl->getLanguageID()));
}

void MultFluoreCaptureFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        loadStyleSheet();
    }
    event->accept();
}

// The camera and capture buttons of this page act on nothing.
void MultFluoreCaptureFrame::on_pushButton_Preview_clicked() {}

void MultFluoreCaptureFrame::on_pushButton_SetExpTime_clicked() {}

void MultFluoreCaptureFrame::on_pushButton_Capture_clicked() {}

void MultFluoreCaptureFrame::on_pushButton_Stop_clicked() {}

void MultFluoreCaptureFrame::on_comboBox_Light_currentIndexChanged(int index) {
    int command = FluorescenceCommand::Light;
    m_lightCtrl->sendCmd(command, multLightCommandData(index));
}

void MultFluoreCaptureFrame::on_pushButton_Setting_clicked(bool checked) {
    if (checked) {
        emit sig_ShowToolFrame();
    } else {
        emit sig_HideToolFrame();
    }
}
