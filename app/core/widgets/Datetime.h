#pragma once

#include <QDialog>
#include <QString>

class QEvent;
class QTimer;

namespace Ui {
class Datetime;
}

// Date and time picker: six rolling columns (year to second) and the buttons Now, Cancel
// and Submit. Submit sends the chosen moment as "yyyy-MM-dd hh:mm:ss". Every 33 ms the
// picker copies the column values and keeps the day inside the chosen month.
class Datetime : public QDialog {
    Q_OBJECT

  public:
    explicit Datetime(QWidget* parent = nullptr);
    ~Datetime() override;

    // Days of the month in the given year (leap years by the Gregorian rule); 28 for a
    // month number outside 1 to 12.
    static int computeDaysInMonth(int year, int month);
    // The decimal number, with a "0" in front when it is below 10.
    static QString twoDigits(int number);

  signals:
    void sendtime(QString data);
    void signals_cancel();

  private slots:
    void on_Btn_reset_clicked();
    void on_Btn_reset_2_clicked();
    void on_Btn_now_clicked();

  public slots:
    void receiveValue();

  protected:
    void changeEvent(QEvent* event) override;

  private:
    int year;
    int month;
    int day;
    int hour;
    int minute;
    int second;
    int daysInMonth;
    Ui::Datetime* ui;
    QTimer* refreshTimer;
};
