#pragma once

#include "ImageToolsFrameType.h"

#include <QColor>
#include <QFont>
#include <QFrame>
#include <QImage>
#include <QList>
#include <QRect>

#include <functional>

namespace Ui {
class ImageProcess_ImageFrame;
}
namespace cv {
class Mat;
}
class CI_MainControl;
class ImageProcessTextEdit;

// The picture area of the image-processing page: the picture being worked
// on with its history (undo, redo, reset), its view (zoom, actual size, fit),
// rotation, mirroring, the pixel operations, crop and text labels, and saving
// and importing picture files. A picture enters from the camera of the last
// capture or from a file. GUI thread only.
class ImageProcess_ImageFrame : public QFrame {
    Q_OBJECT
  public:
    explicit ImageProcess_ImageFrame(QWidget* parent = nullptr);
    ~ImageProcess_ImageFrame() override;

    // The picture as a blue-green-red matrix and back (see imageops).
    static cv::Mat imageToMat(const QImage& image);
    static QImage matToImage(const cv::Mat& mat);

    // Read access for the page and its tests.
    const QImage& currentPicture() const { return currentImage; }
    const QImage& loadedPicture() const { return loadedImage; }
    int historySize() const { return imageList.size(); }
    int historyIndex() const { return imageIndex; }
    double zoom() const { return zoomRatio; }
    bool loaded() const { return isLoaded; }

  signals:
    void changeToolFrame(ImageToolsFrameType frameType);
    void showExpFrame();
    void updateFunsFrame(double ratio, int angle);
    void cutFinish();
    void labelFinish();
    void updateUndoStatus(bool undoOccur);
    void updateRedoStatus(bool redoOccur);
    void sig_UpdateHisto(QImage image);
    void updateButtonStatus();
    void hideToolsFrame();

  public slots:
    void zoomByRatioHandle(double ratio);
    void rotateByAngleHandle(int angle);
    void mirrorByDirectionHandle(int direction);
    void cutClickHandle();
    void cutCancelClickHandle();
    void labelClickHandle();
    void labelCancelClickHandle();
    void cutSelectedHandle(QRect rect);
    void labelSelectedHandle(QRect rect);
    void setColorHandle(QColor color);
    void setFontHandle(QFont font);
    void redoClickHandle();
    void undoClickHandle();
    void resetClickHandle();
    void saveClickHandle();
    void inverseClickHandle();
    void medianClickHandle();
    void bwClickHandle();
    void histogramClickHandle();
    void pseudoClickHandle();
    void dyeingClickHandle();
    void updateHistoedHandle(int minInten, int maxInten);
    void toolsFrameHideHandle();
    void enterIPFrameHandle();
    void exitIPFrameHandle();
    void origialClickHandle();
    void adaptClickHandle();
    void zoomInHandle();
    void zoomOutHandle();
    void updateCurrImageHandle();

  private slots:
    void on_pushButton_Import_clicked();
    void on_pushButton_FrameBack_clicked();

  protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // Loading.
    bool loadGelCapture();
    bool loadCooledCapture();
    void freshStart();
    void forgetPicture();
    void cancelModes();
    void recordArea();

    // History: prepares an entry for the new currentImage, which the caller
    // appends.
    void recordStep();
    // Makes `result` the current picture as one history step and shows it;
    // a result that could not be made (null) changes nothing and tells the
    // user. True when the step was taken.
    bool commitStep(const QImage& result);
    // The current picture through a matrix operation, or null when it could
    // not be allocated.
    QImage matStep(const std::function<cv::Mat(const cv::Mat&)>& operation) const;

    // View: the picture at the current zoom (the display rule), or unscaled.
    bool showScaled(const QImage& picture);
    void showUnscaled(const QImage& picture);
    void tellNoMemory();

    void commitText(const QImage& picture, const QRect& rect);
    void writeAuditPair(const QString& chinese, const QString& english);
    void deleteTextEdit();

    Ui::ImageProcess_ImageFrame* ui;
    QString importPath;
    QImage loadedImage;
    QImage currentImage;
    QImage histoBaseImage;
    QImage histoImage;
    bool isLoaded = false;
    int areaWidth = 0;
    int areaHeight = 0;
    double zoomRatio = 1.0;
    int rotateAngle = 0;
    QColor textColor;
    QFont textFont;
    ImageProcessTextEdit* textEdit = nullptr;
    CI_MainControl* controller;
    QList<QImage> imageList;
    int imageIndex = 0;
    bool undoOccur = false;
    bool redoOccur = false;
    bool redoPending = false;
};
