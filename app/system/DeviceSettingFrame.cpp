#include "DeviceSettingFrame.h"

#include "ui_DeviceSettingFrame.h"

#include "AdminAccount.h"
#include "SystemResources.h"
#include "base/NavigationTypes.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "login/CheckLoginDialog.h"
#include "serial/ASyncSerialPortThread.h"
#include "settings/StoragePathDefault.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QtDebug>

namespace {

constexpr int kShutDownCommand = 0xCC;
constexpr int kDefaultShutDownMinutes = 15;
constexpr int kGroupX = 25;
constexpr int kGroupTop = 10;
constexpr int kGroupPitch = 70;

// Checks the button of `id`, or none for a value without a button.
void selectStored(QButtonGroup* group, int id) {
    if (QAbstractButton* button = group->button(id)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) {
        button->setChecked(false);
    }
    group->setExclusive(true);
}

QString openClose(int index, bool chinese) {
    if (chinese) {
        return index == 0 ? QStringLiteral("打开") : QStringLiteral("关闭");
    }
    return index == 0 ? QStringLiteral("Open") : QStringLiteral("Close");
}

}  // namespace

DeviceSettingFrame::DeviceSettingFrame(QWidget* parent)
    : QFrame(parent),
      ui(new Ui::DeviceSettingFrame),
      mainCtrl(CI_MainControl::getInstance()),
      checkLoginDialog(CheckLoginDialog::getInstance()),
      markerGroup(new QButtonGroup(this)),
      showModeGroup(new QButtonGroup(this)),
      sampleImageBkColorGroup(new QButtonGroup(this)),
      addWaterMarkGroup(new QButtonGroup(this)),
      checkLoginGroup(new QButtonGroup(this)) {
    ensureSystemResources();
    ui->setupUi(this);
    initFrame();
}

DeviceSettingFrame::~DeviceSettingFrame() {
    delete ui;
}

void DeviceSettingFrame::initFrame() {
    markerGroup->addButton(ui->radioButton_Yes, 0);
    markerGroup->addButton(ui->radioButton_No, 1);
    connect(markerGroup, SIGNAL(buttonClicked(int)), this, SLOT(buttonClickedHandle(int)));
    showModeGroup->addButton(ui->radioButton_Center, 0);
    showModeGroup->addButton(ui->radioButton_Fill, 1);
    connect(showModeGroup, SIGNAL(buttonClicked(int)), this,
            SLOT(buttonShowModeClickedHandle(int)));
    sampleImageBkColorGroup->addButton(ui->radioButton_White, 0);
    sampleImageBkColorGroup->addButton(ui->radioButton_Black, 1);
    connect(sampleImageBkColorGroup, SIGNAL(buttonClicked(int)), this,
            SLOT(buttonSampleImageBkColorClickedHandle(int)));
    addWaterMarkGroup->addButton(ui->radioButton_AddWaterMark, 0);
    addWaterMarkGroup->addButton(ui->radioButton_NoWaterMark, 1);
    connect(addWaterMarkGroup, SIGNAL(buttonClicked(int)), this,
            SLOT(buttonAddWaterMarkClickedHandle(int)));
    checkLoginGroup->addButton(ui->radioButton_AddCheckLogin, 0);
    checkLoginGroup->addButton(ui->radioButton_NoCheckLogin, 1);
    connect(checkLoginGroup, SIGNAL(buttonClicked(int)), this,
            SLOT(buttonCheckLoginClickedHandle(int)));
    ui->lineEdit_StoragePath->setEnabled(false);
    ui->groupBox_FilterSetting->hide();
    showStoredSettings();
}

void DeviceSettingFrame::showStoredSettings() {
    UserOpts& opts = mainCtrl->userOpt;
    {
        const QSignalBlocker blocker(ui->comboBox_Language);
        const int language = mainCtrl->getLanguageID();
        if (language != 0 && language != 1) {
            qFatal("Unknow Language.");
        }
        ui->comboBox_Language->setCurrentIndex(language);
    }

    opts.loadUserOpt(UserOpt_WbMarker);
    selectStored(markerGroup, opts.WbMarker ? 1 : 0);

    // 15 minutes is the default of a station that never stored a time; a
    // stored 0 (never close) stays.
    if (!UserOpts::isStored(UserOpt_shutDownTime)) {
        opts.shutDownTime = kDefaultShutDownMinutes;
        if (!opts.saveUserOpt(UserOpt_shutDownTime)) {
            warnNotWritten();
        }
    } else {
        opts.loadUserOpt(UserOpt_shutDownTime);
    }
    ui->spinBox_Time->setValue(opts.shutDownTime);

    opts.loadUserOpt(UserOpt_imageShowMode);
    selectStored(showModeGroup, opts.imageShowMode);

    opts.loadUserOpt(UserOpt_storagePath);
    if (opts.storagePath.isEmpty()) {
        opts.storagePath = defaultStoragePath(fixedDriveRoots(), desktopLocation());
        qDebug().noquote() << "mainCtrl->userOpt.storagePath:" + opts.storagePath;
        if (!opts.saveUserOpt(UserOpt_storagePath)) {
            warnNotWritten();
        }
    }
    ui->lineEdit_StoragePath->setText(opts.storagePath);

    opts.loadUserOpt(UserOpt_sampleImageBkColor);
    selectStored(sampleImageBkColorGroup, opts.sampleImageBkColor);

    opts.loadUserOpt(UserOpt_isAddWaterMark);
    selectStored(addWaterMarkGroup, opts.isAddWaterMark);

    bool westernBlotGroups = false;
    switch (mainCtrl->expType) {
        case Varnu:
        case MultFluore:
            break;
        case WesternBlot:
            westernBlotGroups = true;
            break;
        default:
            qFatal("Unknow CameraBrandAndModel.");
    }
    ui->groupBox_ImageShowMode->setVisible(westernBlotGroups);
    ui->groupBox_Marker->setVisible(westernBlotGroups);
    ui->groupBox_SampleImageBackColor->setVisible(westernBlotGroups);
    ui->groupBox_LightAutoClose->setVisible(westernBlotGroups);

    opts.loadUserOpt(UserOpt_isCheckLogin);
    selectStored(checkLoginGroup, opts.isCheckLogin);
    ui->groupBox_2->setVisible(isAdminAccount(mainCtrl->currentUser->userName));

    layoutGroups();
}

void DeviceSettingFrame::layoutGroups() {
    // The visible groups one under the other, so none covers another.
    int y = kGroupTop;
    for (QGroupBox* group : {ui->groupBox_Language, ui->groupBox, ui->groupBox_LightAutoClose,
                             ui->groupBox_AddWaterMark, ui->groupBox_2, ui->groupBox_ImageShowMode,
                             ui->groupBox_Marker, ui->groupBox_SampleImageBackColor}) {
        if (group->isHidden()) {
            continue;
        }
        group->move(kGroupX, y);
        y += kGroupPitch;
    }
    ui->frame_Btn->setMinimumHeight(qMax(500, y));
}

void DeviceSettingFrame::warnNotWritten() {
    QMessageBox::warning(nullptr, tr("Tips"),
                         tr("Save failed, the settings file cannot be written!"), QMessageBox::Ok);
}

bool DeviceSettingFrame::storeOption(int type) {
    if (mainCtrl->userOpt.saveUserOpt(type)) {
        return true;
    }
    mainCtrl->userOpt.loadUserOpt(type);
    warnNotWritten();
    return false;
}

void DeviceSettingFrame::buttonClickedHandle(int index) {
    mainCtrl->userOpt.WbMarker = index == 1;
    if (!storeOption(UserOpt_WbMarker)) {
        selectStored(markerGroup, mainCtrl->userOpt.WbMarker ? 1 : 0);
    }
}

void DeviceSettingFrame::buttonShowModeClickedHandle(int index) {
    mainCtrl->userOpt.imageShowMode = index;
    if (!storeOption(UserOpt_imageShowMode)) {
        selectStored(showModeGroup, mainCtrl->userOpt.imageShowMode);
    }
}

void DeviceSettingFrame::buttonSampleImageBkColorClickedHandle(int index) {
    mainCtrl->userOpt.sampleImageBkColor = index;
    if (!storeOption(UserOpt_sampleImageBkColor)) {
        selectStored(sampleImageBkColorGroup, mainCtrl->userOpt.sampleImageBkColor);
    }
}

void DeviceSettingFrame::buttonAddWaterMarkClickedHandle(int index) {
    if (checkLoginDialog->checkLogin() == 0) {
        mainCtrl->userOpt.loadUserOpt(UserOpt_isAddWaterMark);
        selectStored(addWaterMarkGroup, mainCtrl->userOpt.isAddWaterMark != 0 ? 1 : 0);
        return;
    }
    mainCtrl->userOpt.isAddWaterMark = index;
    if (!storeOption(UserOpt_isAddWaterMark)) {
        selectStored(addWaterMarkGroup, mainCtrl->userOpt.isAddWaterMark);
        return;
    }
    mainCtrl->auditTrailDB->insertAuditTrailPair(
        SystemPage, mainCtrl->currentUser->userName,
        QStringLiteral("水印设置: ") + openClose(index, true),
        QStringLiteral("Watermark Set: ") + openClose(index, false));
}

void DeviceSettingFrame::buttonCheckLoginClickedHandle(int index) {
    if (checkLoginDialog->checkLogin() == 0) {
        mainCtrl->userOpt.loadUserOpt(UserOpt_isCheckLogin);
        selectStored(checkLoginGroup, mainCtrl->userOpt.isCheckLogin != 0 ? 1 : 0);
        return;
    }
    mainCtrl->userOpt.isCheckLogin = index;
    if (!storeOption(UserOpt_isCheckLogin)) {
        selectStored(checkLoginGroup, mainCtrl->userOpt.isCheckLogin);
        return;
    }
    mainCtrl->auditTrailDB->insertAuditTrailPair(
        SystemPage, mainCtrl->currentUser->userName,
        QStringLiteral("电子签名: ") + openClose(index, true),
        QStringLiteral("Electronic Signature: ") + openClose(index, false));
}

void DeviceSettingFrame::on_comboBox_Language_currentIndexChanged(int index) {
    if (mainCtrl->changeLanguage(index)) {
        return;
    }
    // Nothing switched: the list shows the stored language again.
    {
        const QSignalBlocker blocker(ui->comboBox_Language);
        ui->comboBox_Language->setCurrentIndex(mainCtrl->userOpt.LanguageID);
    }
    warnNotWritten();
}

void DeviceSettingFrame::on_pushButton_SimpleOK_clicked() {
    int minutes = ui->spinBox_Time->text().toInt();
    mainCtrl->userOpt.shutDownTime = minutes;
    if (!storeOption(UserOpt_shutDownTime)) {
        ui->spinBox_Time->setValue(mainCtrl->userOpt.shutDownTime);
        return;
    }
    int command = kShutDownCommand;
    mainCtrl->serialPortThread->writeData(mainCtrl->modbusMaster.makeFrame(command, 1, minutes));
}

void DeviceSettingFrame::on_pushButton_GetExistDir_clicked() {
    if (checkLoginDialog->checkLogin() == 0) {
        return;
    }
    const QString before = ui->lineEdit_StoragePath->text();
    const QString chosen = QFileDialog::getExistingDirectory(
        nullptr, tr("Get Dir"), desktopLocation(), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) {
        return;
    }
    mainCtrl->userOpt.storagePath = chosen;
    if (!storeOption(UserOpt_storagePath)) {
        return;
    }
    ui->lineEdit_StoragePath->setText(chosen);
    // Paths are user text: joined literally, so "%1" in a folder name stays.
    mainCtrl->auditTrailDB->insertAuditTrailPair(
        SystemPage, mainCtrl->currentUser->userName,
        QStringLiteral("修改图像保存路径: 修改前:") + before + QStringLiteral(" 修改后:") + chosen,
        QStringLiteral("Modify image save path: before: ") + before + QStringLiteral(" after: ") +
            chosen);
}

void DeviceSettingFrame::showEvent(QShowEvent* event) {
    showStoredSettings();
    QFrame::showEvent(event);
}

void DeviceSettingFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        const QSignalBlocker blocker(ui->comboBox_Language);
        const int index = ui->comboBox_Language->currentIndex();
        ui->retranslateUi(this);
        ui->comboBox_Language->setCurrentIndex(index);
    }
    event->accept();
}
