#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

namespace Ui {
class CI_BodyFrame;
}

// The body of the main window: the home, report, system and audit-trail
// pages, one visible at a time.
class CI_BodyFrame : public QFrame {
    Q_OBJECT
  public:
    explicit CI_BodyFrame(QWidget* parent = nullptr);
    ~CI_BodyFrame() override;

  signals:
    void sig_ExitExperimentFrame();
    void sig_ExitImgProcessFrame();

  private slots:
    // Shows the chosen page; every switch stops image processing, a switch
    // away from the home page also the experiment pages. An impossible page
    // is the fatal message "Unknow PageType.".
    void slot_ChangePage(PageType pageType);

  private:
    void initFrame();
    void hideAllPages();

    Ui::CI_BodyFrame* ui;
};
