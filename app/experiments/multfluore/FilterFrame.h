#pragma once

#include "serial/FilterCtrl.h"

#include <QFrame>

namespace Ui {
class FilterFrame;
}

// The filter choice of the multi-fluorescence capture panel: choosing an
// entry moves the dark room's filter wheel there. Building the frame sends
// nothing.
class FilterFrame : public QFrame {
    Q_OBJECT
  public:
    explicit FilterFrame(QWidget* parent = nullptr);
    ~FilterFrame() override;

  protected:
    // The filter names follow a language change; the chosen filter stays.
    void changeEvent(QEvent* event) override;

  private slots:
    void on_comboBox_Filter_currentIndexChanged(int index);

  private:
    void initFrame();

    FilterCtrl m_filterCtrl;
    Ui::FilterFrame* ui;
};
