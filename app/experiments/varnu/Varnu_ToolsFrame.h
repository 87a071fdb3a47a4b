#pragma once

#include <QFrame>
#include <QString>

namespace Ui {
class Varnu_ToolsFrame;
}

class VarnuCamSetFrame;

// The tools column of the gel/UV page, holding the camera-settings panel,
// which shows and hides this column itself. Its slots only pass requests on
// between the page and the panel.
class Varnu_ToolsFrame : public QFrame {
    Q_OBJECT
  public:
    explicit Varnu_ToolsFrame(QWidget* parent = nullptr);
    ~Varnu_ToolsFrame() override;

    VarnuCamSetFrame* settingsPanel() const;

  signals:
    void sig_Show(QString changeType);
    void sig_Hide(QString changeType);
    void updatePreviewField(int index);
    void sig_UpdateButton_2(bool sigAccOpen);
    void previewStart();
    void savePara();
    void updateAeTime(int aeTime);
    void expChange();

  public slots:
    void showToolFrameHandle();
    void hideToolFrameHandle();
    void slot_UpdatePreviewField(int index);
    void slot_UpdateButton(bool sigAccOpen);
    void saveParaHandle();
    void updateAeTimeHandle(int aeTime);

  private:
    Ui::Varnu_ToolsFrame* ui;
};
