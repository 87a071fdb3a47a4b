#pragma once

#include <QFrame>

namespace Ui {
class MultFluore_FuncsFrame;
}

// The function column of the multi-fluorescence page, holding its capture
// panel; relays the panel's tool-frame requests to the page.
class MultFluore_FuncsFrame : public QFrame {
    Q_OBJECT
  public:
    explicit MultFluore_FuncsFrame(QWidget* parent = nullptr);
    ~MultFluore_FuncsFrame() override;

  signals:
    void showToolFrame();
    void hideToolFrame();

  private slots:
    void slot_ShowToolFrame();
    void slot_HideToolFrame();

  private:
    Ui::MultFluore_FuncsFrame* ui;
};
