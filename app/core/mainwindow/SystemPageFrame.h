#pragma once

#include <QFrame>

class CI_MainControl;

namespace Ui {
class SystemPageFrame;
}

// The system page: the administration menu beside its function area.
class SystemPageFrame : public QFrame {
    Q_OBJECT
  public:
    explicit SystemPageFrame(QWidget* parent = nullptr);
    ~SystemPageFrame() override;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void loadStyleSheet();

    Ui::SystemPageFrame* ui;
    CI_MainControl* m_mainControl;
};
