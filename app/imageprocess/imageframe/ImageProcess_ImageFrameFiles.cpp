// The image frame's picture files: saving with its audit pair, importing.
#include "ImageProcess_ImageFrame.h"

#include "ui_ImageProcess_ImageFrame.h"

#include "PictureFiles.h"
#include "base/NavigationTypes.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"

#include <QDateTime>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>
#include <QtDebug>

namespace {

QString defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

}  // namespace

void ImageProcess_ImageFrame::saveClickHandle() {
    if (!isLoaded) {
        return;
    }
    const QString proposed = defaultFolder() + QLatin1Char('/') +
                             QTime::currentTime().toString(QStringLiteral("hh-mm-ss-zzz"));
    QString selectedFilter;
    const QString name = QFileDialog::getSaveFileName(nullptr, tr("Save Image"), proposed,
                                                      imageops::saveFilters(), &selectedFilter);
    if (name.isEmpty()) {
        return;
    }
    const imageops::SaveResult result = imageops::savePicture(currentImage, name, selectedFilter);
    if (!result.written) {
        qWarning() << "picture not saved:" << result.fileName;
        QMessageBox::warning(nullptr, tr("Warning"),
                             tr("The picture could not be saved to %1.").arg(result.fileName),
                             QMessageBox::Ok);
        return;
    }
    if (result.tiff) {
        writeAuditPair(QStringLiteral("保存图片: %1").arg(result.fileName),
                       QStringLiteral("Save picture: %1").arg(result.fileName));
    }
}

void ImageProcess_ImageFrame::on_pushButton_Import_clicked() {
    importPath = QFileDialog::getOpenFileName(this, tr("Open Image"), defaultFolder(),
                                              QStringLiteral("*.tif;;*.bmp;;*.jpg;;*.png"));
    if (importPath.isEmpty()) {
        return;
    }
    emit hideToolsFrame();
    const imageops::LoadResult loaded = imageops::loadPicture(importPath);
    if (loaded.error != imageops::LoadError::None) {
        const QString text = loaded.error == imageops::LoadError::TooLarge
                                 ? tr("The picture is too large to open.")
                                 : tr("This format is not supported.");
        QMessageBox::warning(nullptr, tr("Warning"), text, QMessageBox::Ok);
        return;
    }
    loadedImage = currentImage = loaded.picture;
    recordArea();
    freshStart();
    adaptClickHandle();
    writeAuditPair(QStringLiteral("导入图片: %1").arg(importPath),
                   QStringLiteral("Import picture: %1").arg(importPath));
}

void ImageProcess_ImageFrame::writeAuditPair(const QString& chinese, const QString& english) {
    if (controller->auditTrailDB == nullptr) {
        return;
    }
    const QString handler =
        controller->currentUser != nullptr ? controller->currentUser->userName : QString();
    controller->auditTrailDB->insertAuditTrailPair(HomePage, handler, chinese, english);
}
