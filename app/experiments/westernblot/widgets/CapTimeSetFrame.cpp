#include "CapTimeSetFrame.h"

#include "ui_CapTimeSetFrame.h"

#include <QAbstractButton>
#include <QEvent>
#include <QRegExp>
#include <QRegExpValidator>

#include <algorithm>

namespace {

constexpr int kMaxMinutes = 59;
constexpr int kMaxSeconds = 59;
constexpr int kMaxMilliseconds = 999;

// An empty text counts 0, and so does one that is not a number.
int partOf(const QString& text) {
    return text.isEmpty() ? 0 : text.toInt();
}

}  // namespace

CapTimeSetFrame::CapTimeSetFrame(QWidget* parent) : QFrame(parent), ui(new Ui::CapTimeSetFrame) {
    ui->setupUi(this);
    // Minutes and seconds take 0 to 59 without leading zeros; milliseconds a
    // single digit or exactly three.
    auto* minSecValidator = new QRegExpValidator(
        QRegExp(QStringLiteral("^(0|1|2|3|4|5|6|7|8|9|[1-5][0-9])$"), Qt::CaseSensitive), this);
    ui->lineEdit_Minute->setValidator(minSecValidator);
    ui->lineEdit_Sec->setValidator(minSecValidator);
    ui->lineEdit_Ms->setValidator(new QRegExpValidator(
        QRegExp(QStringLiteral("^(0|1|2|3|4|5|6|7|8|9|[0-9][0-9][0-9])$"), Qt::CaseSensitive),
        this));
    for (QAbstractButton* button :
         {ui->pushButton_MinUp, ui->pushButton_MinDown, ui->pushButton_SecUp,
          ui->pushButton_SecDown, ui->pushButton_MsUp, ui->pushButton_MsDown}) {
        button->setAutoRepeat(true);
    }
}

CapTimeSetFrame::~CapTimeSetFrame() {
    delete ui;
}

int CapTimeSetFrame::clampedCapTime(int ms) {
    return std::clamp(ms, 0, kMaxCapTimeMs);
}

void CapTimeSetFrame::setCapTime(int ms) {
    // A longer time (an estimate can give one) would not fit the two-digit
    // minute field and lie outside what the buttons and validators keep.
    const int time = clampedCapTime(ms);
    const int newMinutes = time / 60000;
    ui->lineEdit_Minute->setText(QString::number(newMinutes));
    const int newSeconds = time / 1000 - newMinutes * 60;
    ui->lineEdit_Sec->setText(QString::number(newSeconds));
    ui->lineEdit_Ms->setText(QString::number(time % 1000));
}

void CapTimeSetFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QFrame::changeEvent(event);
}

void CapTimeSetFrame::on_pushButton_MinUp_clicked() {
    if (minutes < kMaxMinutes) {
        ui->lineEdit_Minute->setText(QString::number(minutes + 1));
    }
}

void CapTimeSetFrame::on_pushButton_MinDown_clicked() {
    if (minutes > 0) {
        ui->lineEdit_Minute->setText(QString::number(minutes - 1));
    }
}

void CapTimeSetFrame::on_pushButton_SecUp_clicked() {
    if (seconds < kMaxSeconds) {
        ui->lineEdit_Sec->setText(QString::number(seconds + 1));
    }
}

void CapTimeSetFrame::on_pushButton_SecDown_clicked() {
    if (seconds > 0) {
        ui->lineEdit_Sec->setText(QString::number(seconds - 1));
    }
}

void CapTimeSetFrame::on_pushButton_MsUp_clicked() {
    if (milliseconds < kMaxMilliseconds) {
        ui->lineEdit_Ms->setText(QString::number(milliseconds + 1));
    }
}

void CapTimeSetFrame::on_pushButton_MsDown_clicked() {
    if (milliseconds > 0) {
        ui->lineEdit_Ms->setText(QString::number(milliseconds - 1));
    }
}

void CapTimeSetFrame::on_lineEdit_Minute_textChanged(const QString& text) {
    minutes = partOf(text);
    emitTotal();
}

void CapTimeSetFrame::on_lineEdit_Sec_textChanged(const QString& text) {
    seconds = partOf(text);
    emitTotal();
}

void CapTimeSetFrame::on_lineEdit_Ms_textChanged(const QString& text) {
    milliseconds = partOf(text);
    emitTotal();
}

int CapTimeSetFrame::totalMs() const {
    return minutes * 60000 + seconds * 1000 + milliseconds;
}

void CapTimeSetFrame::emitTotal() {
    emit transferCapTime(totalMs());
}
