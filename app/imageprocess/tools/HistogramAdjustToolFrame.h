#pragma once

#include "GreyHistogram.h"

#include <QFrame>
#include <QImage>

namespace Ui {
class HistogramAdjustToolFrame;
}

// The histogram tool of the image-processing page's tool column: draws the
// grey-level histogram of the picture, finds the grey range the picture
// uses, and lets the user choose a lower and an upper level with two sliders
// or two fields. Every change of the range goes out as an ordered pair; Back
// keeps the stretched picture and closes the tool. GUI thread only.
class HistogramAdjustToolFrame : public QFrame {
    Q_OBJECT
  public:
    explicit HistogramAdjustToolFrame(QWidget* parent = nullptr);
    ~HistogramAdjustToolFrame() override;

    const imageops::GreyHistogram& histogram() const { return histoData; }
    int autoMinimum() const { return autoMinInten; }
    int autoMaximum() const { return autoMaxInten; }

  signals:
    void hideToolFrame();
    void sig_UpdateHistoed(int minInten, int maxInten);
    void updateCurrImage();

  public slots:
    // Draws the histogram of `image` and sets the range to the picture's.
    void updateHistoHandle(QImage image);

  private slots:
    void on_pushButton_Back_clicked();
    void on_pushButton_Auto_clicked();
    void on_horizontalSlider_Left_valueChanged(int value);
    void on_horizontalSlider_Right_valueChanged(int value);
    void on_lineEdit_Min_editingFinished();
    void on_lineEdit_Max_editingFinished();

  protected:
    void changeEvent(QEvent* event) override;

  private:
    // Writes the ordered pair of the two levels into the fields and emits it.
    void reportRange(int value, int otherValue);
    // The two fields' numbers (text that is not a number reads 0).
    void readFields(int& minimum, int& maximum) const;

    Ui::HistogramAdjustToolFrame* ui;
    QImage image;
    int autoMinInten = 255;
    int autoMaxInten = 0;
    imageops::GreyHistogram histoData{};
};
