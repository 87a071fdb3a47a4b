#include "MergeDialog.h"

#include "BlotStretch.h"
#include "MergeOrigins.h"
#include "camera/TucsenCamCtrl.h"
#include "camera/TucsenPictureFiles.h"
#include "controller/CI_MainControl.h"
#include "database/Westblot_ExperimentDB.h"
#include "pictures/PictureFileWrite.h"
#include "pictures/PictureLimits.h"
#include "settings/StoragePathDefault.h"
#include "style/StyleSheet.h"
#include "ui_MergeDialog.h"

#include <QColor>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QGraphicsDropShadowEffect>
#include <QListWidgetItem>
#include <QMessageBox>
#include <QTime>
#include <QTimer>
#include <QtDebug>

#include <memory>

namespace {

constexpr int kMaxPictures = 10;
const QSize kThumbnailSize(115, 90);
const QSize kItemSize(146, 120);

int productChannel(int a, int b) {
    return static_cast<int>(((a / 255.0) * (b / 255.0)) * 255.0);
}

}  // namespace

MergeDialog::MergeDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::MergeDialog), mainCtrl(CI_MainControl::getInstance()) {
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    ui->setupUi(this);
    mainCtrl->userOpt.loadUserOpt(UserOpt_imageShowMode);
    imageShowMode = mainCtrl->userOpt.imageShowMode;
    ui->label_Pic->setAlignment(Qt::AlignCenter);
    setAttribute(Qt::WA_TranslucentBackground);
    auto* shadow = new QGraphicsDropShadowEffect(ui->frame_Merge);
    shadow->setOffset(0, 0);
    shadow->setColor(QColor(QStringLiteral("#262626")));
    shadow->setBlurRadius(30);
    ui->frame_Merge->setGraphicsEffect(shadow);
    setStyleSheet(readLanguageStyleSheet(QStringLiteral("wbdialogs"), mainCtrl->getLanguageID()));
}

MergeDialog::~MergeDialog() {
    delete ui;
}

void MergeDialog::initDialog() {
    TucsenCamCtrl* camera = TucsenCamCtrl::getInstance();
    const QString experiment = camera->curExpName;
    // Both folders carry the date of the experiment's record, so a merge
    // after midnight stays with its experiment.
    std::unique_ptr<WestblotExperiment> record =
        mainCtrl->westblotExperimentDB->loadByName(experiment);
    const QDate date = record && record->dateTime.date().isValid() ? record->dateTime.date()
                                                                   : QDate::currentDate();
    mainFolder = TucsenPictureFiles::storageFolder(storagePathOrDefault(mainCtrl->userOpt), date,
                                                   experiment);
    copyFolder = TucsenPictureFiles::stationFolder(date, experiment);

    QListWidget* list = ui->listWidget_Pic;
    list->setIconSize(kThumbnailSize);
    list->setResizeMode(QListView::Adjust);
    list->setViewMode(QListView::IconMode);
    list->setMovement(QListView::Static);
    list->setSpacing(5);
    list->setFlow(QListView::LeftToRight);
    list->setWrapping(false);
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    refreshList();
    connect(list, &QListWidget::itemClicked, this, &MergeDialog::slot_ItemClicked,
            Qt::UniqueConnection);

    // The capture's pictures as its record counts them; the settings only
    // stand in when there is no record.
    const int mode = camera->curFuncFrameType;
    int count = 0;
    if (record) {
        count = MergeOrigins::capturedCount(mode, record->exposureTime);
    } else {
        mainCtrl->userOpt.loadUserOpt(UserOpt_CapCount);
        mainCtrl->userOpt.loadUserOpt(UserOpt_WbMarker);
        count = MergeOrigins::countFromSettings(mode, mainCtrl->userOpt.CapCount,
                                                mainCtrl->userOpt.WbMarker);
    }
    originPictures = MergeOrigins::originNames(listPictures(), count);
}

QImage MergeDialog::mergeImages(QImage first, QImage second) {
    if (first.isNull()) {
        return QImage();
    }
    const QImage a = first.convertToFormat(QImage::Format_RGB32);
    const QImage b = second.isNull() ? QImage() : second.convertToFormat(QImage::Format_RGB32);
    QImage merged(a.size(), QImage::Format_RGB888);
    for (int y = 0; y < a.height(); ++y) {
        const auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const QRgb* rowB =
            y < b.height() ? reinterpret_cast<const QRgb*>(b.constScanLine(y)) : nullptr;
        uchar* out = merged.scanLine(y);
        for (int x = 0; x < a.width(); ++x) {
            const QRgb pa = rowA[x];
            const QRgb pb = rowB != nullptr && x < b.width() ? rowB[x] : qRgb(0, 0, 0);
            out[3 * x] = static_cast<uchar>(productChannel(qRed(pa), qRed(pb)));
            out[3 * x + 1] = static_cast<uchar>(productChannel(qGreen(pa), qGreen(pb)));
            out[3 * x + 2] = static_cast<uchar>(productChannel(qBlue(pa), qBlue(pb)));
        }
    }
    return merged;
}

void MergeDialog::on_pushButton_Comfirm_clicked() {
    QListWidget* list = ui->listWidget_Pic;
    if (list->count() >= kMaxPictures) {
        warn(
            tr("A maximum of 10 photos will be processed in each experiment. Please delete some "
               "photos!"));
        return;
    }
    QStringList ticked;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->checkState() == Qt::Checked) {
            ticked << list->item(row)->text();
        }
    }
    if (ticked.size() != 2) {
        warn(tr("Please select 2 pictures!"));
        return;
    }
    QStringList refused;
    const QImage first = loadPicture(ticked.at(0), &refused);
    const QImage second = loadPicture(ticked.at(1), &refused);
    if (!refused.isEmpty()) {
        warn(pictures::tooLargeMessage(refused));
        return;
    }
    const QImage merged = mergeImages(first, second);
    const QString name =
        QTime::currentTime().toString(QStringLiteral("hh_mm_ss_zzz")) + QStringLiteral(".tif");
    if (saveMerged(merged, mainFolder, name)) {
        saveMerged(merged, copyFolder, name);
    }
    refreshList();
}

void MergeDialog::on_pushButton_Delete_clicked() {
    const QList<QListWidgetItem*> selected = ui->listWidget_Pic->selectedItems();
    // Nothing is removed when the selection holds a picture of the capture.
    for (QListWidgetItem* item : selected) {
        if (originPictures.contains(item->text())) {
            warn(tr("Origin picture can't delete!"));
            return;
        }
    }
    for (QListWidgetItem* item : selected) {
        if (item->text().isEmpty()) {
            continue;
        }
        QFile::remove(mainFolder + item->text());
        QFile::remove(copyFolder + item->text());
    }
    refreshList();
}

void MergeDialog::on_pushButton_Back_clicked() {
    reject();
}

void MergeDialog::slot_ItemClicked(QListWidgetItem* pItem) {
    pItem->setCheckState(pItem->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    showPicture(QPixmap::fromImage(screenPicture(pItem->text())));
}

QStringList MergeDialog::listPictures() const {
    const QDir folder(mainFolder);
    const QStringList names =
        folder.exists() ? folder.entryList({QStringLiteral("*.tif")}, QDir::Files, QDir::Name)
                        : QStringList();
    return names.isEmpty() ? QStringList{QString()} : names;
}

void MergeDialog::refreshList() {
    QListWidget* list = ui->listWidget_Pic;
    list->clear();
    const QStringList names = listPictures();
    QStringList refused;
    for (const QString& name : names) {
        const QPixmap thumbnail =
            QPixmap::fromImage(screenPicture(name, &refused))
                .scaled(kThumbnailSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        auto* item = new QListWidgetItem(QIcon(thumbnail), name);
        item->setSizeHint(kItemSize);
        item->setCheckState(Qt::Unchecked);
        // The click handler alone toggles the tick: were the item checkable by
        // the view as well, a click on its box would tick it and untick it at once.
        item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        list->insertItem(list->count(), item);
    }
    if (!refused.isEmpty()) {
        // Told from the event loop, over the dialog once it is shown.
        const QString text = pictures::tooLargeMessage(refused);
        QTimer::singleShot(0, this, [this, text]() { warn(text); });
    }
    showPicture(QPixmap::fromImage(screenPicture(names.first())));
}

QImage MergeDialog::loadPicture(const QString& name, QStringList* refused) const {
    if (name.isEmpty()) {
        return QImage();
    }
    pictures::SizeCheck check = pictures::SizeCheck::Fits;
    const QImage picture = pictures::loadForDisplay(mainFolder + name, &check);
    if (check == pictures::SizeCheck::TooLarge && refused != nullptr) {
        *refused << name;
    }
    return picture;
}

void MergeDialog::setShownStretch(const QString& name, int minimum, int maximum) {
    stretchedName = name;
    stretchMinimum = minimum;
    stretchMaximum = maximum;
}

QImage MergeDialog::screenPicture(const QString& name, QStringList* refused) const {
    const QImage picture = loadPicture(name, refused);
    if (!stretchedName.isEmpty() && name == stretchedName) {
        return stretchedForScreen(picture, stretchMinimum, stretchMaximum);
    }
    const QPair<int, int> range = automaticLevels(picture);
    return stretchedForScreen(picture, range.first, range.second);
}

void MergeDialog::showPicture(const QPixmap& picture) {
    QLabel* label = ui->label_Pic;
    QPixmap shown = picture;
    if (!picture.isNull() &&
        (picture.width() >= label->width() || picture.height() >= label->height())) {
        shown = picture.scaled(label->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (imageShowMode == 0) {
            label->setScaledContents(false);
        } else if (imageShowMode == 1) {
            label->setScaledContents(true);
        }
    } else {
        label->setScaledContents(false);
    }
    label->setAlignment(Qt::AlignCenter);
    label->setPixmap(shown);
    label->repaint();
}

bool MergeDialog::saveMerged(const QImage& merged, const QString& folder, const QString& name) {
    const QString path = folder + name;
    const bool saved = !merged.isNull() && QDir().mkpath(folder) &&
                       pictures::savePictureWhole(merged, path, "tif");
    qDebug() << path + QStringLiteral(" merged ") +
                    (saved ? QStringLiteral("true") : QStringLiteral("false"));
    if (!saved) {
        warn(tr("The merged picture could not be saved: %1").arg(QDir::toNativeSeparators(path)));
    }
    return saved;
}

void MergeDialog::warn(const QString& text) {
    QMessageBox::warning(this, tr("Warning"), text);
}
