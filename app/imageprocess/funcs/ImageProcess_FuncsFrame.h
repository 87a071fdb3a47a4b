#pragma once

#include <QColor>
#include <QFont>
#include <QFrame>

namespace Ui {
class ImageProcess_FuncsFrame;
}
class CheckLoginDialog;

// The column of operation buttons beside the picture on the image-processing
// page. Every click becomes one signal naming the operation (Save only after
// the password re-check); the image frame reports its state back, and the
// panel keeps its buttons usable accordingly: during a crop only Cut Cancel,
// while a text label is placed only Label Cancel, while the histogram tool is
// open only Histogram; Undo and Redo follow the history. GUI thread only.
class ImageProcess_FuncsFrame : public QFrame {
    Q_OBJECT
  public:
    explicit ImageProcess_FuncsFrame(QWidget* parent = nullptr);
    ~ImageProcess_FuncsFrame() override;

  signals:
    void zoomByRatio(double ratio);
    void rotateByAngle(int angle);
    void mirrorByDirection(int direction);
    void cutClick();
    void cutCancelClick();
    void labelClick();
    void labelCancelClick();
    void setColor(QColor color);
    void setFont(QFont font);
    void redoClick();
    void undoClick();
    void resetClick();
    void saveClick();
    void inverseClick();
    void medianClick();
    void bwClick();
    void histogramClick();
    void pseudoClick();
    void dyeingClick();
    void origialClick();
    void adaptClick();

  public slots:
    // The page has been entered: nothing is usable until the image frame has
    // a picture. A crop, label or histogram mode of an earlier visit ends.
    void enterIPFrameHandle();
    // Shows the image frame's zoom ratio and angle; emits nothing.
    void updateFunsFrameHandle(double ratio, int angle);
    void cutFinishHandle();
    void labelFinishHandle();
    // The history's undo and redo states; while the histogram tool is open
    // they are kept for when it closes.
    void updateUndoStatusHandle(bool undoStatus);
    void updateRedoStatusHandle(bool redoStatus);
    void updateButtonStatusHandle();
    void toolsFrameHideHandle();

  private slots:
    void on_pushButton_Zoom_clicked();
    void on_pushButton_Rotate_clicked();
    void on_pushButton_Cut_clicked();
    void on_pushButton_CutCancel_clicked();
    void on_pushButton_Label_clicked();
    void on_pushButton_LabelCancel_clicked();
    void on_pushButton_Color_clicked();
    void on_pushButton_Font_clicked();
    void on_pushButton_Redo_clicked();
    void on_pushButton_Undo_clicked();
    void on_pushButton_Reset_clicked();
    void on_pushButton_Save_clicked();
    void on_pushButton_Inverse_clicked();
    void on_pushButton_Median_clicked();
    void on_pushButton_BW_clicked();
    void on_pushButton_Histogram_clicked();
    void on_pushButton_Pseudo_clicked();
    void on_pushButton_Dyeing_clicked();
    void on_pushButton_Forward90_clicked();
    void on_pushButton_Reverse90_clicked();
    void on_pushButton_MirrorV_clicked();
    void on_pushButton_MirrorH_clicked();
    void on_pushButton_Origial_clicked();
    void on_pushButton_Adapt_clicked();

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void setToolTips();
    // Leaves only the button of the active mode as it is; disables the rest.
    void disableButtonsForMode();
    // Enables everything; Undo and Redo as last reported.
    void restoreButtons();

    Ui::ImageProcess_FuncsFrame* ui;
    bool cutActive = false;
    bool labelActive = false;
    bool histogramActive = false;
    bool undoStatus = false;
    bool redoStatus = false;
    CheckLoginDialog* checkLoginDialog;
};
