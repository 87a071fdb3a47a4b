#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

class CI_MainControl;

namespace Ui {
class HomeFrame;
}

// The experiment chooser: one button per experiment kind, of which only the
// current experiment type's can be used, by a user allowed to capture.
class HomeFrame : public QFrame {
    Q_OBJECT
  public:
    explicit HomeFrame(QWidget* parent = nullptr);
    ~HomeFrame() override;

  signals:
    void sig_ChangeFrame(FrameID id);

  private slots:
    void on_pushButton_Varnu_clicked();
    void on_pushButton_WesternBlot_clicked();
    void on_pushButton_MultFluore_clicked();
    void openUrl(QString url);

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void initFrame();
    void loadStyleSheet();

    Ui::HomeFrame* ui;
    CI_MainControl* m_mainControl;
};
