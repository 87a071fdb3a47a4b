#pragma once

#include <QFrame>

namespace Ui {
class MultFluore_ToolsFrame;
}

// The tools column of the multi-fluorescence page, holding its camera
// settings; shows and hides itself on the function frame's signals.
class MultFluore_ToolsFrame : public QFrame {
    Q_OBJECT
  public:
    explicit MultFluore_ToolsFrame(QWidget* parent = nullptr);
    ~MultFluore_ToolsFrame() override;

  private slots:
    void showToolFrameHandle();
    void hideToolFrameHandle();

  private:
    Ui::MultFluore_ToolsFrame* ui;
};
