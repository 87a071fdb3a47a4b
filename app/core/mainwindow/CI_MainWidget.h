#pragma once

#include <QWidget>

namespace Ui {
class CI_MainWidget;
}

// The station's main window: the head bar over the body. Frameless and full
// screen; the head bar's exit button is the way out of the program.
class CI_MainWidget : public QWidget {
    Q_OBJECT
  public:
    explicit CI_MainWidget(QWidget* parent = nullptr);
    ~CI_MainWidget() override;

  private:
    Ui::CI_MainWidget* ui;
};
