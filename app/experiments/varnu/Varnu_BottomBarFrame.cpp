#include "Varnu_BottomBarFrame.h"

#include "ui_Varnu_BottomBarFrame.h"

#include "controller/CI_MainControl.h"
#include "database/UserInfo.h"
#include "login/CheckLoginDialog.h"
#include "serial/LensCtrl.h"
#include "widgets/AutoDialog.h"

#include <QBitmap>
#include <QPixmap>

namespace {
constexpr int kLensStop = 0x14;

void fitButtonToPicture(QPushButton* button, const QString& picture) {
    const QPixmap pixmap(picture);
    if (pixmap.isNull()) {
        return;
    }
    button->resize(pixmap.size());
    button->setMask(pixmap.mask());
}
}  // namespace

Varnu_BottomBarFrame::Varnu_BottomBarFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::Varnu_BottomBarFrame), lensCtrl(new LensCtrl(this)) {
    ui->setupUi(this);
    mainControl = CI_MainControl::getInstance();
    checkLoginDialog = CheckLoginDialog::getInstance();

    fitButtonToPicture(ui->pushButton_Export, QStringLiteral(":/Image/export_normal.png"));
    fitButtonToPicture(ui->pushButton_WpsEdit, QStringLiteral(":/Image/wps_normal.png"));
    fitButtonToPicture(ui->pushButton_Process, QStringLiteral(":/Image/imageProcess_normal.png"));

    QPalette palette = ui->label_PreviewStatus->palette();
    palette.setColor(QPalette::WindowText, QColor(QStringLiteral("red")));
    ui->label_PreviewStatus->setPalette(palette);

    connect(mainControl, &CI_MainControl::updateDoorStatus, this,
            &Varnu_BottomBarFrame::updateDoorStatusHandle);
    ui->label_Door->hide();
}

Varnu_BottomBarFrame::~Varnu_BottomBarFrame() {
    delete ui;
}

void Varnu_BottomBarFrame::updatePreviewLabelHandle(bool previewStatus) {
    if (previewStatus) {
        ui->label_PreviewStatus->setText(tr("Previewing..."));
    } else {
        ui->label_PreviewStatus->clear();
    }
}

void Varnu_BottomBarFrame::updateButtonHandle(bool enable) {
    ui->pushButton_Export->setEnabled(enable);
    const UserInfo* user = mainControl->currentUser;
    const bool imageProcess = user && user->authImgProcess;
    if (enable) {
        if (user && user->authRptExport) {
            ui->pushButton_WpsEdit->setEnabled(true);
        }
        if (imageProcess) {
            ui->pushButton_Process->setEnabled(true);
        }
        return;
    }
    ui->pushButton_WpsEdit->setEnabled(false);
    if (!imageProcess) {
        ui->pushButton_Process->setEnabled(false);
    }
}

void Varnu_BottomBarFrame::updateDoorStatusHandle(bool open) {
    ui->label_Door->setPixmap(QPixmap(open ? QStringLiteral(":/Image/door_open.png")
                                           : QStringLiteral(":/Image/door_close.png")));
}

void Varnu_BottomBarFrame::runDialog(AutoDialog*& dialog, const QString& text, QPoint point) {
    delete dialog;
    dialog = new AutoDialog(this);
    dialog->setText(text);
    dialog->move(point);
    dialog->exec();
}

void Varnu_BottomBarFrame::closeDialog(AutoDialog*& dialog) {
    AutoDialog* closing = dialog;
    dialog = nullptr;
    closing->reject();
    // Its exec may still be on the stack: deleted once that has returned.
    closing->deleteLater();
}

void Varnu_BottomBarFrame::createAEDialogHandle(QPoint point) {
    runDialog(aeDialog, tr("Auto exposuring..."), point);
}

void Varnu_BottomBarFrame::destroyAEDialogHandle() {
    if (aeDialog) {
        closeDialog(aeDialog);
    }
}

void Varnu_BottomBarFrame::createAFDialogHandle(QPoint point) {
    runDialog(afDialog, tr("Auto focusing..."), point);
}

void Varnu_BottomBarFrame::destroyAFDialogHandle() {
    if (afDialog) {
        lensCtrl->sendRawCmd({kLensStop});
        closeDialog(afDialog);
    }
}

void Varnu_BottomBarFrame::on_pushButton_Export_clicked() {
    if (checkLoginDialog->checkLogin()) {
        emit sig_ExportClick();
    }
}

void Varnu_BottomBarFrame::on_pushButton_WpsEdit_clicked() {
    if (checkLoginDialog->checkLogin()) {
        emit sig_WpsEditClick();
    }
}

void Varnu_BottomBarFrame::on_pushButton_Process_clicked() {
    emit sig_ShowImgProcessFrame();
}

void Varnu_BottomBarFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    event->accept();
}
