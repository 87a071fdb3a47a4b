#include "ExpTimeSetDialog.h"

#include "controller/CI_MainControl.h"
#include "settings/SettingsNotSaved.h"
#include "style/StyleSheet.h"
#include "ui_ExpTimeSetDialog.h"

#include <QColor>
#include <QGraphicsDropShadowEffect>
#include <QShowEvent>
#include <QtDebug>

namespace {

constexpr int kFirstPicture = 1;
constexpr int kLastPicture = 10;

}  // namespace

ExpTimeSetDialog::ExpTimeSetDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::ExpTimeSetDialog), mainCtrl(CI_MainControl::getInstance()) {
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    ui->setupUi(this);
    ui->pushButton_Prev->setEnabled(false);
    setAttribute(Qt::WA_TranslucentBackground);
    auto* shadow = new QGraphicsDropShadowEffect(ui->frame_ExpTimeSet);
    shadow->setOffset(0, 0);
    shadow->setColor(QColor(QStringLiteral("#262626")));
    shadow->setBlurRadius(30);
    ui->frame_ExpTimeSet->setGraphicsEffect(shadow);
    setStyleSheet(readLanguageStyleSheet(QStringLiteral("wbdialogs"), mainCtrl->getLanguageID()));
}

ExpTimeSetDialog::~ExpTimeSetDialog() {
    delete ui;
}

void ExpTimeSetDialog::showEvent(QShowEvent* event) {
    showPage();
    // The base places the dialog over its opener.
    QDialog::showEvent(event);
    event->accept();
}

void ExpTimeSetDialog::setCapCount(int count) {
    capCount = count;
    curCapIndex = kFirstPicture;
    ui->label_CurCapIndex->setText(tr("Picture: ") + QString::number(curCapIndex));
}

void ExpTimeSetDialog::on_pushButton_Ok_clicked() {
    if (!savePage()) {
        showPage();
        return;
    }
    accept();
}

void ExpTimeSetDialog::on_pushButton_Cancel_clicked() {
    reject();
}

void ExpTimeSetDialog::on_pushButton_Prev_clicked() {
    if (!savePage()) {
        showPage();
        return;
    }
    if (!ui->pushButton_Next->isEnabled()) {
        ui->pushButton_Next->setEnabled(true);
    }
    --curCapIndex;
    showPage();
    ui->label_CurCapIndex->setText(tr("Picture: ") + QString::number(curCapIndex));
    if (curCapIndex == kFirstPicture) {
        ui->pushButton_Prev->setEnabled(false);
    }
}

void ExpTimeSetDialog::on_pushButton_Next_clicked() {
    if (!savePage()) {
        showPage();
        return;
    }
    if (!ui->pushButton_Prev->isEnabled()) {
        ui->pushButton_Prev->setEnabled(true);
    }
    ++curCapIndex;
    showPage();
    ui->label_CurCapIndex->setText(tr("Picture: ") + QString::number(curCapIndex));
    if (curCapIndex == capCount) {
        ui->pushButton_Next->setEnabled(false);
    }
}

bool ExpTimeSetDialog::saveExpTimeToIni(QStringList timeList, int index) {
    qDebug() << "saveExpTimeToIni.";
    QStringList* member = expTimeMember(index);
    return member == nullptr || saveExpTimeToIni(*member, timeList, expTimeKey(index));
}

bool ExpTimeSetDialog::saveExpTimeToIni(QStringList& expTime, QStringList timeList,
                                        UserOptType userOpt) {
    expTime = timeList;
    if (mainCtrl->userOpt.saveUserOpt(userOpt)) {
        return true;
    }
    mainCtrl->userOpt.loadUserOpt(userOpt);
    tellSettingsNotSaved(this);
    return false;
}

QStringList ExpTimeSetDialog::loadExpTimeFromIni(int index) {
    qDebug() << "loadExpTimeFromIni.";
    QStringList* member = expTimeMember(index);
    if (member == nullptr) {
        return QStringList();
    }
    mainCtrl->userOpt.loadUserOpt(expTimeKey(index));
    return *member;
}

QStringList* ExpTimeSetDialog::expTimeMember(int index) {
    UserOpts& opts = mainCtrl->userOpt;
    QStringList* members[] = {&opts.ExpTime_1, &opts.ExpTime_2, &opts.ExpTime_3, &opts.ExpTime_4,
                              &opts.ExpTime_5, &opts.ExpTime_6, &opts.ExpTime_7, &opts.ExpTime_8,
                              &opts.ExpTime_9, &opts.ExpTime_10};
    if (index < kFirstPicture || index > kLastPicture) {
        return nullptr;
    }
    return members[index - kFirstPicture];
}

UserOptType ExpTimeSetDialog::expTimeKey(int index) {
    return static_cast<UserOptType>(UserOpt_ExpTime_1 + index - kFirstPicture);
}

bool ExpTimeSetDialog::savePage() {
    return saveExpTimeToIni(
        QStringList{ui->spinBox_Min->text(), ui->spinBox_S->text(), ui->spinBox_Ms->text()},
        curCapIndex);
}

void ExpTimeSetDialog::showPage() {
    // The spin boxes limit what the file holds to their ranges; a part the
    // list lacks counts 0.
    const QStringList time = loadExpTimeFromIni(curCapIndex);
    ui->spinBox_Min->setValue(time.value(0).toInt());
    ui->spinBox_S->setValue(time.value(1).toInt());
    ui->spinBox_Ms->setValue(time.value(2).toInt());
}
