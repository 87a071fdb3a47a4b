#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

class CI_MainControl;
class LightCtrl;

namespace Ui {
class CI_HeadFrame;
}

// The head bar of the main window: the logo, the four page buttons and the
// exit button. Button pictures follow the language.
class CI_HeadFrame : public QFrame {
    Q_OBJECT
  public:
    explicit CI_HeadFrame(QWidget* parent = nullptr);
    ~CI_HeadFrame() override;

  signals:
    void sig_ChangePage(PageType pageType);

  private slots:
    void on_pushButton_Home_clicked();
    void on_pushButton_Report_clicked();
    void on_pushButton_System_clicked();
    // Asks for confirmation, switches the instrument off when it is on,
    // shuts the cooled camera down, records the exit and ends the program.
    void on_pushButton_Exit_clicked();
    void on_pushButton_AuditTrail_clicked();

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void initFrame();
    void loadStyleSheet();
    void shutDownCooledCamera();
    void writeExitAuditRows();

    Ui::CI_HeadFrame* ui;
    CI_MainControl* m_mainControl;
    LightCtrl* m_lightCtrl;
};
