// The picture area of the western-blot page: the live preview of the cooled
// camera, drawn from its show thread, with the busy dialog that covers the
// start of the preview until the first frame arrives.
#pragma once

#include <QFrame>
#include <QPixmap>

namespace Ui {
class WesternBlot_ImageFrame;
}

class CI_MainControl;
class InitialDialog;
class QTimer;
class TucsenCamCtrl;
class TucsenGrabThread;
class TucsenShowThread;

class WesternBlot_ImageFrame : public QFrame {
    Q_OBJECT
  public:
    explicit WesternBlot_ImageFrame(QWidget* parent = nullptr);
    ~WesternBlot_ImageFrame() override;

    // Longest wait for the first frame of a preview before the busy dialog
    // closes with a message.
    static constexpr int kFirstFrameBoundMs = 10000;

  signals:
    void hideToolFrame();
    void sig_ResetFuncsFrame();
    void updatePreviewLabel(bool previewStatus);
    void updateButton(bool enable);
    void updateProcessButton();
    void sig_OpenLight();

  public slots:
    void exitFrameHandle();
    void enterWbFrameHandle();
    void previewStartHandle();

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private slots:
    void updateImgHandle();
    // Fits the picture to label_Cam (by imageShowMode) and shows it.
    void updateLabelCam(QPixmap& pix);

  private:
    void previewStart();
    void previewClose();
    void applyCamSet();
    // Ends the grab and show loops, bounded; false when one did not end.
    bool joinPreviewThreads();
    // The busy dialog over the frame until the first frame or the bound.
    void runInitialDialog();
    void closeInitialDialog();
    void firstFrameMissing();

    Ui::WesternBlot_ImageFrame* ui;
    CI_MainControl* mainControl;
    TucsenCamCtrl* camCtrl;
    TucsenGrabThread* grabThread;
    TucsenShowThread* showThread;
    InitialDialog* initialDialog = nullptr;
    QTimer* firstFrameTimer;
    int imageShowMode = 0;
    bool previewing = false;
    bool firstFrame = false;
    bool pageEntered = false;
    bool showBusyDialog = false;
    bool previewFromButton = false;
};
