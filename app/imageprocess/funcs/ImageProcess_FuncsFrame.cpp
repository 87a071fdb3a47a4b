#include "ImageProcess_FuncsFrame.h"

#include "ui_ImageProcess_FuncsFrame.h"

#include "login/CheckLoginDialog.h"

#include <QColorDialog>
#include <QEvent>
#include <QFontDialog>

ImageProcess_FuncsFrame::ImageProcess_FuncsFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::ImageProcess_FuncsFrame) {
    ui->setupUi(this);
    ui->doubleSpinBox_Ratio->setValue(1.0);
    setToolTips();
    checkLoginDialog = CheckLoginDialog::getInstance();
}

ImageProcess_FuncsFrame::~ImageProcess_FuncsFrame() {
    delete ui;
}

void ImageProcess_FuncsFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        setToolTips();
        ui->retranslateUi(this);
    }
    event->accept();
}

void ImageProcess_FuncsFrame::setToolTips() {
    ui->pushButton_Zoom->setToolTip(tr("Zoom"));
    ui->pushButton_Adapt->setToolTip(tr("Adapt"));
    ui->pushButton_Origial->setToolTip(tr("Origial"));
    ui->pushButton_Rotate->setToolTip(tr("Rotate"));
    ui->pushButton_Forward90->setToolTip(tr("Forward 90"));
    ui->pushButton_Reverse90->setToolTip(tr("Reverse 90"));
    ui->pushButton_MirrorV->setToolTip(tr("Flip Vertical"));
    ui->pushButton_MirrorH->setToolTip(tr("Flip Horizontal"));
    ui->pushButton_Cut->setToolTip(tr("Cut"));
    ui->pushButton_CutCancel->setToolTip(tr("Cut Cancel"));
    ui->pushButton_Label->setToolTip(tr("Label"));
    ui->pushButton_LabelCancel->setToolTip(tr("Label Cancel"));
    ui->pushButton_Color->setToolTip(tr("Color"));
    ui->pushButton_Font->setToolTip(tr("Font"));
    ui->pushButton_Inverse->setToolTip(tr("Inverse"));
    ui->pushButton_Median->setToolTip(tr("Filter"));
    ui->pushButton_BW->setToolTip(tr("ToBlackWhite"));
    ui->pushButton_Histogram->setToolTip(tr("Histogram"));
    ui->pushButton_Pseudo->setToolTip(tr("Pseudo"));
    ui->pushButton_Dyeing->setToolTip(tr("Dye"));
    ui->pushButton_Undo->setToolTip(tr("Undo"));
    ui->pushButton_Redo->setToolTip(tr("Redo"));
    ui->pushButton_Reset->setToolTip(tr("Reset"));
    ui->pushButton_Save->setToolTip(tr("Save"));
}

// ---- States ----------------------------------------------------------------

void ImageProcess_FuncsFrame::disableButtonsForMode() {
    const QList<QPushButton*> buttons = findChildren<QPushButton*>();
    for (QPushButton* button : buttons) {
        const QString name = button->objectName();
        const bool keep = (cutActive && name == QLatin1String("pushButton_CutCancel")) ||
                          (labelActive && name == QLatin1String("pushButton_LabelCancel")) ||
                          (histogramActive && name == QLatin1String("pushButton_Histogram"));
        if (!keep) {
            button->setEnabled(false);
        }
    }
    ui->doubleSpinBox_Ratio->setEnabled(false);
    ui->spinBox_Angle->setEnabled(false);
}

void ImageProcess_FuncsFrame::restoreButtons() {
    const QList<QPushButton*> buttons = findChildren<QPushButton*>();
    for (QPushButton* button : buttons) {
        if (button != ui->pushButton_Undo && button != ui->pushButton_Redo) {
            button->setEnabled(true);
        }
    }
    ui->doubleSpinBox_Ratio->setEnabled(true);
    ui->spinBox_Angle->setEnabled(true);
    ui->pushButton_Redo->setEnabled(redoStatus);
    ui->pushButton_Undo->setEnabled(undoStatus);
}

void ImageProcess_FuncsFrame::enterIPFrameHandle() {
    // The tool column and the picture's modes were reset on leaving, so no
    // mode of the last visit may keep its buttons or undo reports.
    cutActive = false;
    labelActive = false;
    histogramActive = false;
    const QList<QPushButton*> buttons = findChildren<QPushButton*>();
    for (QPushButton* button : buttons) {
        button->setEnabled(false);
    }
    ui->doubleSpinBox_Ratio->setEnabled(false);
    ui->spinBox_Angle->setEnabled(false);
}

void ImageProcess_FuncsFrame::updateFunsFrameHandle(double ratio, int angle) {
    // The spin boxes have no connections; setting them emits nothing of ours.
    ui->doubleSpinBox_Ratio->setValue(ratio);
    ui->spinBox_Angle->setValue(angle);
}

void ImageProcess_FuncsFrame::cutFinishHandle() {
    cutActive = false;
    restoreButtons();
}

void ImageProcess_FuncsFrame::labelFinishHandle() {
    labelActive = false;
    restoreButtons();
}

void ImageProcess_FuncsFrame::updateUndoStatusHandle(bool undoStatus) {
    this->undoStatus = undoStatus;
    if (!histogramActive) {
        ui->pushButton_Undo->setEnabled(undoStatus);
    }
}

void ImageProcess_FuncsFrame::updateRedoStatusHandle(bool redoStatus) {
    this->redoStatus = redoStatus;
    if (!histogramActive) {
        ui->pushButton_Redo->setEnabled(redoStatus);
    }
}

void ImageProcess_FuncsFrame::updateButtonStatusHandle() {
    restoreButtons();
}

void ImageProcess_FuncsFrame::toolsFrameHideHandle() {
    histogramActive = false;
    restoreButtons();
}

// ---- Buttons ---------------------------------------------------------------

void ImageProcess_FuncsFrame::on_pushButton_Zoom_clicked() {
    emit zoomByRatio(ui->doubleSpinBox_Ratio->value());
}

void ImageProcess_FuncsFrame::on_pushButton_Rotate_clicked() {
    emit rotateByAngle(ui->spinBox_Angle->value());
}

void ImageProcess_FuncsFrame::on_pushButton_Cut_clicked() {
    cutActive = true;
    disableButtonsForMode();
    emit cutClick();
}

void ImageProcess_FuncsFrame::on_pushButton_CutCancel_clicked() {
    cutActive = false;
    restoreButtons();
    emit cutCancelClick();
}

void ImageProcess_FuncsFrame::on_pushButton_Label_clicked() {
    labelActive = true;
    disableButtonsForMode();
    emit labelClick();
}

void ImageProcess_FuncsFrame::on_pushButton_LabelCancel_clicked() {
    labelActive = false;
    restoreButtons();
    emit labelCancelClick();
}

void ImageProcess_FuncsFrame::on_pushButton_Color_clicked() {
    // A cancelled dialog keeps the colour chosen before.
    const QColor color = QColorDialog::getColor(Qt::white, nullptr);
    if (color.isValid()) {
        emit setColor(color);
    }
}

void ImageProcess_FuncsFrame::on_pushButton_Font_clicked() {
    // A cancelled dialog keeps the font chosen before.
    bool accepted = false;
    const QFont font = QFontDialog::getFont(&accepted, QFont(QStringLiteral("Arial"), 16), nullptr,
                                            QStringLiteral("Select Font"));
    if (accepted) {
        emit setFont(font);
    }
}

void ImageProcess_FuncsFrame::on_pushButton_Redo_clicked() {
    emit redoClick();
}

void ImageProcess_FuncsFrame::on_pushButton_Undo_clicked() {
    emit undoClick();
}

void ImageProcess_FuncsFrame::on_pushButton_Reset_clicked() {
    emit resetClick();
}

void ImageProcess_FuncsFrame::on_pushButton_Save_clicked() {
    if (checkLoginDialog->checkLogin() != 0) {
        emit saveClick();
    }
}

void ImageProcess_FuncsFrame::on_pushButton_Inverse_clicked() {
    emit inverseClick();
}

void ImageProcess_FuncsFrame::on_pushButton_Median_clicked() {
    emit medianClick();
}

void ImageProcess_FuncsFrame::on_pushButton_BW_clicked() {
    emit bwClick();
}

void ImageProcess_FuncsFrame::on_pushButton_Histogram_clicked() {
    histogramActive = true;
    disableButtonsForMode();
    emit histogramClick();
}

void ImageProcess_FuncsFrame::on_pushButton_Pseudo_clicked() {
    emit pseudoClick();
}

void ImageProcess_FuncsFrame::on_pushButton_Dyeing_clicked() {
    emit dyeingClick();
}

void ImageProcess_FuncsFrame::on_pushButton_Forward90_clicked() {
    emit rotateByAngle(90);
}

void ImageProcess_FuncsFrame::on_pushButton_Reverse90_clicked() {
    emit rotateByAngle(270);
}

void ImageProcess_FuncsFrame::on_pushButton_MirrorV_clicked() {
    emit mirrorByDirection(0);
}

void ImageProcess_FuncsFrame::on_pushButton_MirrorH_clicked() {
    emit mirrorByDirection(1);
}

void ImageProcess_FuncsFrame::on_pushButton_Origial_clicked() {
    emit origialClick();
}

void ImageProcess_FuncsFrame::on_pushButton_Adapt_clicked() {
    emit adaptClick();
}
