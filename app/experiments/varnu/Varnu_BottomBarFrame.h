// The bottom bar of the gel/UV page: the preview state, the export, report
// and image-processing buttons (enabled by the user's rights), and the busy
// dialogs of automatic exposure and focus.
#pragma once

#include <QFrame>
#include <QPoint>

namespace Ui {
class Varnu_BottomBarFrame;
}

class AutoDialog;
class CI_MainControl;
class CheckLoginDialog;
class LensCtrl;

class Varnu_BottomBarFrame : public QFrame {
    Q_OBJECT
  public:
    explicit Varnu_BottomBarFrame(QWidget* parent = nullptr);
    ~Varnu_BottomBarFrame() override;

  signals:
    void sig_ShowImgProcessFrame();
    void sig_ExportClick();
    void sig_WpsEditClick();

  public slots:
    void updatePreviewLabelHandle(bool previewStatus);
    void updateButtonHandle(bool enable);
    void updateDoorStatusHandle(bool open);
    // Runs the busy dialog modally; returns when it has been closed.
    void createAEDialogHandle(QPoint point);
    void destroyAEDialogHandle();
    void createAFDialogHandle(QPoint point);
    // Stops the lens (0x14) and closes the dialog, when there is one.
    void destroyAFDialogHandle();

  protected:
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_Export_clicked();
    void on_pushButton_WpsEdit_clicked();
    void on_pushButton_Process_clicked();

  private:
    void runDialog(AutoDialog*& dialog, const QString& text, QPoint point);
    static void closeDialog(AutoDialog*& dialog);

    Ui::Varnu_BottomBarFrame* ui;
    CI_MainControl* mainControl;
    CheckLoginDialog* checkLoginDialog;
    LensCtrl* lensCtrl;
    AutoDialog* aeDialog = nullptr;
    AutoDialog* afDialog = nullptr;
};
