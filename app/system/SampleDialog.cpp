#include "SampleDialog.h"

#include "ui_SampleDialog.h"

#include "controller/CI_MainControl.h"
#include "database/SampleDB.h"

#include <QColor>
#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QtDebug>

SampleDialog::SampleDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::SampleDialog), mainCtrl(CI_MainControl::getInstance()) {
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);

    auto* shadow = new QGraphicsDropShadowEffect(ui->frame_Sample);
    shadow->setOffset(0, 0);
    shadow->setColor(QColor(QStringLiteral("#262626")));
    shadow->setBlurRadius(30);
    ui->frame_Sample->setGraphicsEffect(shadow);

    ui->lineEdit_SampleName->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[a-zA-Z0-9]{0,20}")), this));
}

SampleDialog::~SampleDialog() {
    delete ui;
}

void SampleDialog::showWarning(const QString& text) {
    ui->label_Warning->setStyleSheet(QStringLiteral("color:red; font-size:12px;"));
    ui->label_Warning->setText(text);
}

void SampleDialog::on_pushButton_OK_clicked() {
    const QString name = ui->lineEdit_SampleName->text();
    if (name.isEmpty()) {
        showWarning(tr("Sample name empty !"));
        return;
    }
    if (mainCtrl->sampleDB->loadSampleNames().contains(name)) {
        showWarning(tr("Sample name exists !"));
        return;
    }
    SampleInfo sample;
    sample.sampleName = name;
    sample.note = ui->textEdit_Note->toPlainText();
    const bool inserted = mainCtrl->sampleDB->insertSample(sample);
    qDebug().noquote() << "save " + name + " " + (inserted ? "true" : "false");
    if (!inserted) {
        // What was typed stays for another try.
        showWarning(tr("Sample save failed !"));
        return;
    }
    accept();
}

void SampleDialog::on_pushButton_Cancel_clicked() {
    reject();
}

void SampleDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QDialog::changeEvent(event);
}
