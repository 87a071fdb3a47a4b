#pragma once

#include <QFrame>
#include <QString>

namespace Ui {
class CapTimeSetFrame;
}

// Compact exposure-time entry of the single-capture panel: minutes, seconds
// and milliseconds, each in a small field with an up and a down button.
// Every change of a field reports the whole time in milliseconds.
class CapTimeSetFrame : public QFrame {
    Q_OBJECT

  public:
    explicit CapTimeSetFrame(QWidget* parent = nullptr);
    ~CapTimeSetFrame() override;

    // The longest time the entry can show: 59 min 59 s 999 ms.
    static constexpr int kMaxCapTimeMs = 59 * 60000 + 59 * 1000 + 999;
    // `ms` limited to what the entry can show.
    static int clampedCapTime(int ms);

    // Shows `ms` (limited to 0 .. kMaxCapTimeMs) field by field: minutes,
    // then seconds, then milliseconds; each field whose text changes reports.
    void setCapTime(int ms);

  signals:
    void transferCapTime(int ms);

  protected:
    // The unit labels follow a language change.
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_MinUp_clicked();
    void on_pushButton_MinDown_clicked();
    void on_pushButton_SecUp_clicked();
    void on_pushButton_SecDown_clicked();
    void on_pushButton_MsUp_clicked();
    void on_pushButton_MsDown_clicked();
    void on_lineEdit_Minute_textChanged(const QString& text);
    void on_lineEdit_Sec_textChanged(const QString& text);
    void on_lineEdit_Ms_textChanged(const QString& text);

  private:
    int totalMs() const;
    void emitTotal();

    Ui::CapTimeSetFrame* ui;
    int minutes = 0;
    int seconds = 0;
    int milliseconds = 0;
};
