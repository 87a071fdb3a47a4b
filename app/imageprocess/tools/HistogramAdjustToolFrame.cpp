#include "HistogramAdjustToolFrame.h"

#include "ui_HistogramAdjustToolFrame.h"

#include <QEvent>
#include <QtDebug>

#include <algorithm>

HistogramAdjustToolFrame::HistogramAdjustToolFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::HistogramAdjustToolFrame) {
    ui->setupUi(this);
    ui->horizontalSlider_Left->setRange(0, 255);
    ui->horizontalSlider_Right->setRange(0, 255);
}

HistogramAdjustToolFrame::~HistogramAdjustToolFrame() {
    delete ui;
}

void HistogramAdjustToolFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        ui->lineEdit_Min->clear();
        ui->lineEdit_Max->clear();
        ui->pushButton_Auto->setText(QString());
    }
    event->accept();
}

void HistogramAdjustToolFrame::updateHistoHandle(QImage image) {
    qDebug() << "updateHistoHandle.";
    this->image = image;
    histoData = imageops::computeGrayHistogram(this->image);
    const imageops::HistogramCurve curve = imageops::thinHistogramCurve(histoData);
    autoMinInten = curve.minInten;
    autoMaxInten = curve.maxInten;

    ui->frame_Histo->clearChart();
    ui->frame_Histo->appendUpperLineSeries(curve.points);
    ui->frame_Histo->updateLineSeriesToChart(0, 255);

    ui->horizontalSlider_Left->setValue(autoMinInten);
    ui->horizontalSlider_Right->setValue(autoMaxInten);
    emit sig_UpdateHistoed(autoMinInten, autoMaxInten);
}

void HistogramAdjustToolFrame::on_pushButton_Back_clicked() {
    ui->frame_Histo->clearChart();
    emit hideToolFrame();
    emit updateCurrImage();
}

void HistogramAdjustToolFrame::on_pushButton_Auto_clicked() {
    ui->horizontalSlider_Left->setValue(autoMinInten);
    ui->horizontalSlider_Right->setValue(autoMaxInten);
    emit sig_UpdateHistoed(autoMinInten, autoMaxInten);
}

void HistogramAdjustToolFrame::reportRange(int value, int otherValue) {
    const int lower = std::min(value, otherValue);
    const int upper = std::max(value, otherValue);
    ui->lineEdit_Min->setText(QString::number(lower));
    ui->lineEdit_Max->setText(QString::number(upper));
    emit sig_UpdateHistoed(lower, upper);
}

void HistogramAdjustToolFrame::on_horizontalSlider_Left_valueChanged(int value) {
    reportRange(value, ui->horizontalSlider_Right->value());
}

void HistogramAdjustToolFrame::on_horizontalSlider_Right_valueChanged(int value) {
    reportRange(value, ui->horizontalSlider_Left->value());
}

void HistogramAdjustToolFrame::readFields(int& minimum, int& maximum) const {
    minimum = ui->lineEdit_Min->text().toInt();
    maximum = ui->lineEdit_Max->text().toInt();
}

void HistogramAdjustToolFrame::on_lineEdit_Min_editingFinished() {
    int minimum = 0;
    int maximum = 0;
    readFields(minimum, maximum);
    if (minimum >= 256) {
        ui->lineEdit_Min->setText(QStringLiteral("255"));
    }
    if (maximum < minimum) {
        ui->lineEdit_Min->setText(ui->lineEdit_Max->text());
    }
    ui->horizontalSlider_Left->setValue(minimum);
    ui->horizontalSlider_Right->setValue(maximum);
}

void HistogramAdjustToolFrame::on_lineEdit_Max_editingFinished() {
    int minimum = 0;
    int maximum = 0;
    readFields(minimum, maximum);
    if (maximum >= 256) {
        ui->lineEdit_Max->setText(QStringLiteral("255"));
    }
    if (maximum < minimum) {
        ui->lineEdit_Max->setText(ui->lineEdit_Min->text());
    }
    ui->horizontalSlider_Left->setValue(minimum);
    ui->horizontalSlider_Right->setValue(maximum);
}
