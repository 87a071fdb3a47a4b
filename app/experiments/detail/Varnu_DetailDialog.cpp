#include "Varnu_DetailDialog.h"

#include "ui_Varnu_DetailDialog.h"

#include "DetailResources.h"
#include "PictureExport.h"
#include "PictureView.h"
#include "base/NavigationTypes.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "database/Varnu_ExperimentDB.h"
#include "login/CheckLoginDialog.h"

#include <QColor>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QGraphicsDropShadowEffect>
#include <QMessageBox>

namespace {

// Gel/UV experiment names begin with the application name "Varnu"; the
// rest is the picture's base name.
constexpr int kNamePrefixLength = 5;
constexpr int kOverlayFromRight = 180;

QString withoutCommas(QString text) {
    return text.remove(QLatin1Char(','));
}

}  // namespace

Varnu_DetailDialog::Varnu_DetailDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::Varnu_DetailDialog), mainCtrl(CI_MainControl::getInstance()) {
    ensureDetailResources();
    ui->setupUi(this);
    mainCtrl->userOpt.loadUserOpt(UserOpt_imageShowMode);
    imageShowMode = mainCtrl->userOpt.imageShowMode;
    ui->label_Pic->setAlignment(Qt::AlignCenter);
    m_currentRecord = nullptr;

    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    auto* shadow = new QGraphicsDropShadowEffect(ui->frame_Detail);
    shadow->setOffset(0, 0);
    shadow->setColor(QColor(QStringLiteral("#262626")));
    shadow->setBlurRadius(30);
    ui->frame_Detail->setGraphicsEffect(shadow);
    checkLoginDialog = CheckLoginDialog::getInstance();
}

Varnu_DetailDialog::~Varnu_DetailDialog() {
    delete ui;
}

QString Varnu_DetailDialog::pictureFileName(const VarnuExperiment& record) {
    return record.name.mid(kNamePrefixLength) + QStringLiteral(".tif");
}

void Varnu_DetailDialog::setUuids(const QList<QUuid>& list) {
    uuids = list;
    for (const QUuid& uuid : uuids) {
        std::unique_ptr<VarnuExperiment> record = mainCtrl->varnuExperimentDB->loadByUuid(uuid);
        if (!record) {
            qDebug() << "varNU_Experimentdb->loadByUuid failed.";
            continue;
        }
        records.push_back(std::move(record));
    }
}

void Varnu_DetailDialog::initDialog() {
    setUpThumbnailStrip(ui->listWidget_Pic);
    loadPictures();
    connect(ui->listWidget_Pic, &QListWidget::currentRowChanged, this,
            &Varnu_DetailDialog::currentRowChangedHandle);
}

void Varnu_DetailDialog::loadPictures() {
    QStringList refused;
    for (const auto& record : records) {
        const QString fileName = pictureFileName(*record);
        const QString path = record->picSavedPath + fileName;
        qDebug().noquote() << "picPath: " + path;
        appendThumbnail(ui->listWidget_Pic, loadShownPicture(path, &refused), fileName, true);
    }
    tellRefusedPictures(this, refused);
    if (records.empty()) {
        return;
    }
    ui->listWidget_Pic->setCurrentRow(0);
    currentRowChangedHandle(0);
}

void Varnu_DetailDialog::currentRowChangedHandle(int currentRow) {
    if (currentRow < 0 || currentRow >= recordCount()) {
        return;
    }
    m_currentRecord = records.at(static_cast<size_t>(currentRow)).get();
    const QPixmap picture =
        loadShownPicture(m_currentRecord->picSavedPath + pictureFileName(*m_currentRecord));
    mainCtrl->userOpt.loadUserOpt(UserOpt_isAddWaterMark);
    showPicture(picture, mainCtrl->userOpt.isAddWaterMark == 0);
}

void Varnu_DetailDialog::showPicture(const QPixmap& picture, bool draw) {
    QPixmap shown = fitPictureToLabel(ui->label_Pic, picture, imageShowMode);
    if (draw) {
        drawParameters(shown);
    }
    setLabelPicture(ui->label_Pic, shown);
}

void Varnu_DetailDialog::drawParameters(QPixmap& picture) {
    const VarnuExperiment& r = *m_currentRecord;
    drawParameterLines(
        picture, kOverlayFromRight,
        {tr("Resolution: ") + r.resolution, tr("Exposure:   ") + withoutCommas(r.exposureTime),
         tr("Gain:       ") + withoutCommas(r.gain),
         tr("Brightness: ") + QString::number(r.brightness),
         tr("Contrast:   ") + QString::number(r.contrast),
         tr("Gamma:      ") + QString::number(r.gamma)});
}

void Varnu_DetailDialog::on_pushButton_Back_clicked() {
    reject();
}

void Varnu_DetailDialog::on_pushButton_Export_clicked() {
    if (checkLoginDialog->checkLogin() == 0 || m_currentRecord == nullptr) {
        return;
    }
    exportCurrentPicture();
}

void Varnu_DetailDialog::exportCurrentPicture() {
    QListWidgetItem* item = ui->listWidget_Pic->currentItem();
    const QString source = m_currentRecord->picSavedPath + (item != nullptr ? item->text() : "");
    if (!PictureExport::sourceReadable(source)) {
        QMessageBox::warning(this, tr("Warning"),
                             tr("The picture %1 cannot be read; nothing is exported.").arg(source));
        return;
    }

    // The experiment's folder below the storage path; without a storage
    // path the picture's own folder.
    mainCtrl->userOpt.loadUserOpt(UserOpt_storagePath);
    QString folder = m_currentRecord->picSavedPath;
    if (!mainCtrl->userOpt.storagePath.isEmpty()) {
        folder = mainCtrl->userOpt.storagePath + QLatin1Char('/') +
                 m_currentRecord->dateTime.toString(QStringLiteral("yy-MM-dd")) +
                 QStringLiteral("/Varnu/");
    }
    QDir().mkpath(folder);
    const QString defaultName =
        folder + QDateTime::currentDateTime().toString(QStringLiteral("hh-mm-ss-zzz"));

    QString selectedFilter;
    const QString chosen = QFileDialog::getSaveFileName(
        nullptr, tr("Save Image"), defaultName,
        tr("600dpi(*.tif);;300dpi(*.tif);;*.bmp;;*.jpg;;*.png"), &selectedFilter);
    if (chosen.isEmpty()) {
        return;
    }
    const QString target = PictureExport::targetName(chosen, selectedFilter);
    switch (PictureExport::write(source, target, selectedFilter)) {
        case PictureExport::Result::Written:
            if (PictureExport::isTiff(target)) {
                writeAuditPair(target);
            }
            break;
        case PictureExport::Result::SourceUnreadable:
            QMessageBox::warning(
                this, tr("Warning"),
                tr("The picture %1 cannot be read; nothing is exported.").arg(source));
            break;
        case PictureExport::Result::WriteFailed:
            QMessageBox::warning(this, tr("Warning"),
                                 tr("The picture could not be written to %1.").arg(target));
            break;
    }
}

void Varnu_DetailDialog::writeAuditPair(const QString& fileName) {
    mainCtrl->auditTrailDB->insertAuditTrailPair(ReportPage, mainCtrl->currentUser->userName,
                                                 QStringLiteral("导出报告: %1").arg(fileName),
                                                 QStringLiteral("Export report: %1").arg(fileName));
}

void Varnu_DetailDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QDialog::changeEvent(event);
}
