#include "widgets/Datetime.h"

#include <QEvent>
#include <QTimer>

#include "ui_Datetime.h"

namespace {
// Refresh period of the column copies and the day's range while the user drags.
constexpr int kRefreshIntervalMs = 33;
}  // namespace

Datetime::Datetime(QWidget* parent) : QDialog(parent), ui(new Ui::Datetime) {
    ui->setupUi(this);
    // Exactly frameless: with a parent the picker is a child panel, not a window.
    setWindowFlags(Qt::FramelessWindowHint);
    // Take the first copies now, so Submit is well defined before the first tick.
    receiveValue();

    refreshTimer = new QTimer(this);
    refreshTimer->start(kRefreshIntervalMs);
    connect(refreshTimer, SIGNAL(timeout()), this, SLOT(receiveValue()));
}

Datetime::~Datetime() {
    delete ui;
}

int Datetime::computeDaysInMonth(int year, int month) {
    switch (month) {
        case 1:
        case 3:
        case 5:
        case 7:
        case 8:
        case 10:
        case 12:
            return 31;
        case 4:
        case 6:
        case 9:
        case 11:
            return 30;
        case 2:
            return ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0) ? 29 : 28;
        default:
            return 28;
    }
}

QString Datetime::twoDigits(int number) {
    const QString digits = QString::number(number);
    return number < 10 ? QStringLiteral("0") + digits : digits;
}

void Datetime::on_Btn_reset_clicked() {
    emit signals_cancel();
    hide();
}

void Datetime::on_Btn_reset_2_clicked() {
    const QString text = twoDigits(year) + QLatin1Char('-') + twoDigits(month) + QLatin1Char('-') +
                         twoDigits(day) + QLatin1Char(' ') + twoDigits(hour) + QLatin1Char(':') +
                         twoDigits(minute) + QLatin1Char(':') + twoDigits(second);
    emit sendtime(text);
    hide();
}

void Datetime::on_Btn_now_clicked() {
    ui->yyyy->setToNow();
    ui->MM->setToNow();
    ui->dd->setToNow();
    ui->hh->setToNow();
    ui->mm->setToNow();
    ui->ss->setToNow();
}

void Datetime::receiveValue() {
    year = ui->yyyy->readValue();
    month = ui->MM->readValue();
    day = ui->dd->value();
    hour = ui->hh->readValue();
    minute = ui->mm->readValue();
    second = ui->ss->readValue();
    daysInMonth = computeDaysInMonth(year, month);
    ui->dd->setRange(1, daysInMonth);
    // The copy follows the clamp, so Submit never sends a day the month does not have.
    day = ui->dd->value();
}

void Datetime::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    event->accept();
}
