#include "DetailDialog.h"

#include "ui_DetailDialog.h"

#include "DetailResources.h"
#include "PictureView.h"
#include "base/Enumerations.h"
#include "controller/CI_MainControl.h"
#include "database/Westblot_ExperimentDB.h"

#include <QColor>
#include <QDir>
#include <QEvent>
#include <QGraphicsDropShadowEffect>

namespace {

constexpr int kOverlayFromRight = 150;

// The value of a picture in a per-picture list ("100,200,300,"); empty when
// the list is shorter.
QString valueAt(const QString& list, int row) {
    const QStringList values = list.split(QLatin1Char(','));
    return row >= 0 && row < values.size() ? values.at(row) : QString();
}

}  // namespace

DetailDialog::DetailDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::DetailDialog), mainCtrl(CI_MainControl::getInstance()) {
    ensureDetailResources();
    ui->setupUi(this);
    mainCtrl->userOpt.loadUserOpt(UserOpt_imageShowMode);
    imageShowMode = mainCtrl->userOpt.imageShowMode;
    ui->label_Pic->setAlignment(Qt::AlignCenter);

    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    auto* shadow = new QGraphicsDropShadowEffect(ui->frame_Detail);
    shadow->setOffset(0, 0);
    shadow->setColor(QColor(QStringLiteral("#262626")));
    shadow->setBlurRadius(30);
    ui->frame_Detail->setGraphicsEffect(shadow);
}

DetailDialog::~DetailDialog() {
    delete ui;
}

QStringList DetailDialog::pictureNames(const QString& folder) {
    QStringList names;
    if (!folder.isEmpty()) {
        const QDir dir(folder);
        if (dir.exists()) {
            names = dir.entryList({QStringLiteral("*.tif")}, QDir::Files, QDir::Name);
        }
    }
    if (names.isEmpty()) {
        names << QString();
    }
    return names;
}

void DetailDialog::setUuid(QUuid id) {
    uuid = id;
    experiment = mainCtrl->westblotExperimentDB->loadByUuid(uuid);
    picDir = experiment ? experiment->picSavedPath : QString();
}

void DetailDialog::initDialog() {
    setUpThumbnailStrip(ui->listWidget_Pic);
    loadPictures();
    connect(ui->listWidget_Pic, &QListWidget::itemClicked, this, &DetailDialog::slot_ItemClicked);
}

void DetailDialog::loadPictures() {
    const QStringList names = pictureNames(picDir);
    QStringList refused;
    for (const QString& name : names) {
        const QPixmap picture =
            name.isEmpty() ? QPixmap() : loadShownPicture(picDir + name, &refused);
        appendThumbnail(ui->listWidget_Pic, picture, name, false);
    }
    tellRefusedPictures(this, refused);
    curRow = 0;
    const QString first = names.first();
    showPicture(first.isEmpty() ? QPixmap() : loadShownPicture(picDir + first), true);
}

void DetailDialog::slot_ItemClicked(QListWidgetItem* pItem) {
    if (pItem == nullptr) {
        return;
    }
    // The clicked item's row: the items are not selectable, so the strip's
    // current row need not follow the click.
    curRow = ui->listWidget_Pic->row(pItem);
    const int parts = experiment ? experiment->exposureTime.split(QLatin1Char(',')).size() : 0;
    const QPixmap picture =
        pItem->text().isEmpty() ? QPixmap() : loadShownPicture(picDir + pItem->text());
    showPicture(picture, curRow < parts - 1);
}

void DetailDialog::showPicture(const QPixmap& picture, bool draw) {
    QPixmap shown = fitPictureToLabel(ui->label_Pic, picture, imageShowMode);
    if (draw && experiment) {
        drawParameters(shown);
    }
    setLabelPicture(ui->label_Pic, shown);
}

void DetailDialog::drawParameters(QPixmap& picture) {
    const WestblotExperiment& r = *experiment;
    drawParameterLines(picture, kOverlayFromRight,
                       {tr("Binning:    ") + binningModeToString(r.binning),
                        tr("Exposure:   ") + valueAt(r.exposureTime, curRow),
                        tr("Gain:       ") + valueAt(r.gain, curRow),
                        tr("BlackLevel: ") + QString::number(r.blackLevel),
                        tr("Contrast:   ") + QString::number(r.contrast),
                        tr("Gamma:      ") + QString::number(r.gamma)});
}

void DetailDialog::on_pushButton_Back_clicked() {
    reject();
}

void DetailDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QDialog::changeEvent(event);
}
