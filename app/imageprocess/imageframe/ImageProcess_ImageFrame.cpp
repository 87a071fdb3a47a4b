// The image frame: loading, history, view, rotation and mirroring.
#include "ImageProcess_ImageFrame.h"

#include "ui_ImageProcess_ImageFrame.h"

#include "CooledFrame.h"
#include "GelCapturePicture.h"
#include "ImageProcessTextEdit.h"
#include "MatConversion.h"
#include "PictureFiles.h"
#include "camera/TucsenCamCtrl.h"
#include "camera/ZdqCameraCtrl.h"
#include "controller/CI_MainControl.h"

#include <QMessageBox>
#include <QTransform>
#include <QtDebug>
#include <opencv2/core.hpp>

#include <cstring>
#include <vector>

namespace {

// Zoom steps of Ctrl and the wheel, and their bounds (strict tests).
constexpr double kZoomStep = 0.1;
constexpr double kZoomInLimit = 5.0;
constexpr double kZoomOutLimit = 0.2;

// Pictures and views beyond this many pixels are not made: at four bytes a
// pixel they would take more memory than the station can spare for one step.
constexpr qint64 kMaxPixels = imageops::kMaxImportPixels;

bool withinPixelLimit(qint64 width, qint64 height) {
    return width > 0 && height > 0 && width * height <= kMaxPixels;
}

}  // namespace

ImageProcess_ImageFrame::ImageProcess_ImageFrame(QWidget* parent)
    : QFrame(parent),
      ui(new Ui::ImageProcess_ImageFrame),
      controller(CI_MainControl::getInstance()) {
    ui->setupUi(this);
    connect(ui->label_Pic, &ImageProcessLabel::cutSelected, this,
            &ImageProcess_ImageFrame::cutSelectedHandle);
    connect(ui->label_Pic, &ImageProcessLabel::labelSelected, this,
            &ImageProcess_ImageFrame::labelSelectedHandle);
    connect(ui->label_Pic, &ImageProcessLabel::zoomIn, this,
            &ImageProcess_ImageFrame::zoomInHandle);
    connect(ui->label_Pic, &ImageProcessLabel::zoomOut, this,
            &ImageProcess_ImageFrame::zoomOutHandle);
}

ImageProcess_ImageFrame::~ImageProcess_ImageFrame() {
    deleteTextEdit();
    delete ui;
}

cv::Mat ImageProcess_ImageFrame::imageToMat(const QImage& image) {
    return imageops::imageToMat(image);
}

QImage ImageProcess_ImageFrame::matToImage(const cv::Mat& mat) {
    return imageops::matToImage(mat);
}

void ImageProcess_ImageFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    event->accept();
}

void ImageProcess_ImageFrame::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
}

// ---- Loading -------------------------------------------------------------

void ImageProcess_ImageFrame::enterIPFrameHandle() {
    switch (controller->expType) {
        case Varnu:
            if (!loadGelCapture()) {
                return;
            }
            break;
        case WesternBlot:
            if (!loadCooledCapture()) {
                return;
            }
            break;
        case MultFluore:
            // Nothing to load: the frame goes on with its picture, if any.
            if (currentImage.isNull()) {
                return;
            }
            break;
        default:
            qFatal("Unknow ExperimentType.");
    }
    freshStart();
    adaptClickHandle();
}

bool ImageProcess_ImageFrame::loadGelCapture() {
    const ZdqCameraCtrl* camera = ZdqCameraCtrl::getInstance();
    if (camera->frameBuffer == nullptr) {
        return false;
    }
    const QImage picture =
        imageops::gelCaptureToPicture(camera->frameBuffer, camera->frameWidth, camera->frameHeight);
    if (picture.isNull()) {
        qWarning() << "gel/UV capture record without a picture:" << camera->frameWidth << "x"
                   << camera->frameHeight;
        return false;
    }
    loadedImage = currentImage = picture;
    return true;
}

bool ImageProcess_ImageFrame::loadCooledCapture() {
    if (controller->pictureBuffer == nullptr) {
        return false;
    }
    emit hideToolsFrame();
    TucsenCamCtrl* camera = TucsenCamCtrl::getInstance();
    // The picture buffer holds one decoded frame in frame size x 3 bytes; it
    // is used once.
    const size_t length = camera->rawSize > 0 ? static_cast<size_t>(camera->rawSize) * 3 : 0;
    std::vector<unsigned char> copy(length);
    if (length > 0) {
        std::memcpy(copy.data(), controller->pictureBuffer, length);
    }
    delete[] controller->pictureBuffer;
    controller->pictureBuffer = nullptr;

    const imageops::DecodedFrame decoded = imageops::decodeRawFrame(copy.data(), copy.size());
    if (!decoded.ok) {
        qWarning() << decoded.error;
        QMessageBox::warning(nullptr, tr("Warning"), tr("The captured picture cannot be read."),
                             QMessageBox::Ok);
        return false;
    }
    camera->frameWidth = static_cast<unsigned short>(decoded.header.width);
    camera->frameHeight = static_cast<unsigned short>(decoded.header.height);
    controller->camOpt.loadTucsenCurrentCamSet();
    const QImage picture =
        imageops::cooledFrameToPicture(decoded, controller->camOpt.tucsenCurrentCamSet.Flip != 0);
    if (picture.isNull()) {
        tellNoMemory();
        return false;
    }
    loadedImage = currentImage = picture;
    return true;
}

void ImageProcess_ImageFrame::freshStart() {
    imageList = {currentImage};
    imageIndex = 0;
    isLoaded = true;
    rotateAngle = 0;
    zoomRatio = 1.0;
    textColor = Qt::black;
    textFont = QFont(QStringLiteral("Arial"), 16);
    emit updateFunsFrame(1.0, 0);
    redoOccur = false;
    emit updateRedoStatus(false);
    undoOccur = false;
    emit updateUndoStatus(false);
    showUnscaled(currentImage);
    emit updateButtonStatus();
    cancelModes();
}

void ImageProcess_ImageFrame::cancelModes() {
    ui->label_Pic->setCutStatus(false);
    ui->label_Pic->setLabelStatus(false);
    deleteTextEdit();
    ui->label_Pic->update();
}

void ImageProcess_ImageFrame::recordArea() {
    areaWidth = ui->scrollArea->width();
    areaHeight = ui->scrollArea->height();
}

void ImageProcess_ImageFrame::forgetPicture() {
    imageList.clear();
    imageIndex = 0;
    isLoaded = false;
    rotateAngle = 0;
    zoomRatio = 1.0;
    textColor = Qt::black;
    textFont = QFont(QStringLiteral("Arial"), 16);
    ui->label_Pic->clear();
}

void ImageProcess_ImageFrame::exitIPFrameHandle() {
    forgetPicture();
}

void ImageProcess_ImageFrame::on_pushButton_FrameBack_clicked() {
    forgetPicture();
    emit showExpFrame();
}

// ---- History -------------------------------------------------------------

void ImageProcess_ImageFrame::recordStep() {
    if (redoPending) {
        while (imageList.size() > imageIndex + 1) {
            imageList.removeLast();
        }
        redoPending = false;
        redoOccur = false;
        emit updateRedoStatus(false);
    }
    undoOccur = true;
    emit updateUndoStatus(true);
    ++imageIndex;
}

bool ImageProcess_ImageFrame::commitStep(const QImage& result) {
    if (result.isNull()) {
        tellNoMemory();
        return false;
    }
    // The view is made first: a picture that cannot be shown is not taken.
    const QImage previous = currentImage;
    currentImage = result;
    if (!showScaled(currentImage)) {
        currentImage = previous;
        return false;
    }
    recordStep();
    imageList.append(currentImage);
    return true;
}

QImage ImageProcess_ImageFrame::matStep(
    const std::function<cv::Mat(const cv::Mat&)>& operation) const {
    try {
        const cv::Mat mat = imageToMat(currentImage);
        if (mat.empty()) {
            return {};
        }
        return matToImage(operation(mat));
    } catch (const cv::Exception& e) {
        qWarning() << "image step failed:" << e.what();
    } catch (const std::bad_alloc&) {
        qWarning() << "image step failed: out of memory.";
    }
    return {};
}

void ImageProcess_ImageFrame::undoClickHandle() {
    if (!isLoaded || imageIndex <= 0) {
        return;
    }
    if (!redoOccur) {
        redoOccur = true;
        emit updateRedoStatus(true);
    }
    redoPending = true;
    --imageIndex;
    currentImage = imageList.at(imageIndex);
    showScaled(currentImage);
    if (imageIndex == 0) {
        undoOccur = false;
        emit updateUndoStatus(false);
    }
}

void ImageProcess_ImageFrame::redoClickHandle() {
    if (!isLoaded || imageIndex >= imageList.size() - 1) {
        return;
    }
    if (!undoOccur) {
        undoOccur = true;
        emit updateUndoStatus(true);
    }
    ++imageIndex;
    currentImage = imageList.at(imageIndex);
    showScaled(currentImage);
    if (imageIndex == imageList.size() - 1) {
        redoOccur = false;
        emit updateRedoStatus(false);
    }
}

void ImageProcess_ImageFrame::resetClickHandle() {
    if (!isLoaded) {
        return;
    }
    currentImage = loadedImage;
    imageList = {currentImage};
    imageIndex = 0;
    rotateAngle = 0;
    zoomRatio = 1.0;
    textColor = Qt::black;
    textFont = QFont(QStringLiteral("Arial"), 16);
    emit updateFunsFrame(1.0, 0);
    redoOccur = false;
    emit updateRedoStatus(false);
    undoOccur = false;
    emit updateUndoStatus(false);
    showUnscaled(currentImage);
}

// ---- View ----------------------------------------------------------------

bool ImageProcess_ImageFrame::showScaled(const QImage& picture) {
    // A side that the ratio shrinks below one pixel still shows one pixel:
    // only a view too large to make is refused.
    const qint64 width = qMax<qint64>(1, static_cast<qint64>(picture.width() * zoomRatio));
    const qint64 height = qMax<qint64>(1, static_cast<qint64>(picture.height() * zoomRatio));
    if (!withinPixelLimit(width, height)) {
        tellNoMemory();
        return false;
    }
    const QImage scaled = picture.scaled(static_cast<int>(width), static_cast<int>(height),
                                         Qt::KeepAspectRatio, Qt::FastTransformation);
    if (scaled.isNull()) {
        tellNoMemory();
        return false;
    }
    ui->label_Pic->setPixmap(QPixmap::fromImage(scaled));
    return true;
}

void ImageProcess_ImageFrame::showUnscaled(const QImage& picture) {
    ui->label_Pic->setPixmap(QPixmap::fromImage(picture));
}

void ImageProcess_ImageFrame::tellNoMemory() {
    qWarning() << "picture step or view could not be allocated.";
    QMessageBox::warning(nullptr, tr("Warning"), tr("Not enough memory for this picture."),
                         QMessageBox::Ok);
}

void ImageProcess_ImageFrame::zoomByRatioHandle(double ratio) {
    if (!isLoaded) {
        return;
    }
    // A zoom of 0 or less would show nothing and map every rectangle to
    // nothing; the frame keeps its zoom and shows the panel the one it has.
    if (!(ratio > 0.0)) {
        emit updateFunsFrame(zoomRatio, rotateAngle);
        return;
    }
    const double previous = zoomRatio;
    zoomRatio = ratio;
    if (!showScaled(currentImage)) {
        zoomRatio = previous;
        emit updateFunsFrame(zoomRatio, rotateAngle);
    }
}

void ImageProcess_ImageFrame::zoomInHandle() {
    if (!isLoaded || !(zoomRatio < kZoomInLimit)) {
        return;
    }
    zoomRatio += kZoomStep;
    if (!showScaled(currentImage)) {
        zoomRatio -= kZoomStep;
    }
    emit updateFunsFrame(zoomRatio, rotateAngle);
}

void ImageProcess_ImageFrame::zoomOutHandle() {
    if (!isLoaded || !(zoomRatio > kZoomOutLimit)) {
        return;
    }
    zoomRatio -= kZoomStep;
    if (!showScaled(currentImage)) {
        zoomRatio += kZoomStep;
    }
    emit updateFunsFrame(zoomRatio, rotateAngle);
}

void ImageProcess_ImageFrame::origialClickHandle() {
    if (currentImage.isNull()) {
        return;
    }
    zoomRatio = 1.0;
    emit updateFunsFrame(1.0, rotateAngle);
    showUnscaled(currentImage);
}

void ImageProcess_ImageFrame::adaptClickHandle() {
    if (currentImage.isNull()) {
        return;
    }
    const QImage scaled =
        currentImage.scaled(ui->scrollArea->size(), Qt::KeepAspectRatio, Qt::FastTransformation);
    if (scaled.isNull()) {
        return;  // an area without room shows nothing to fit to
    }
    zoomRatio = static_cast<double>(scaled.width()) / currentImage.width();
    emit updateFunsFrame(zoomRatio, rotateAngle);
    ui->label_Pic->setPixmap(QPixmap::fromImage(scaled));
}

// ---- Rotation and mirroring ----------------------------------------------

void ImageProcess_ImageFrame::rotateByAngleHandle(int angle) {
    if (!isLoaded) {
        return;
    }
    rotateAngle = angle;
    const QTransform rotation = QTransform().rotate(angle);
    const QRect box = rotation.mapRect(currentImage.rect());
    QImage rotated;
    if (withinPixelLimit(box.width(), box.height())) {
        rotated = currentImage.transformed(rotation, Qt::SmoothTransformation);
    }
    commitStep(rotated);
    rotateAngle = 0;
    emit updateFunsFrame(zoomRatio, 0);
}

void ImageProcess_ImageFrame::mirrorByDirectionHandle(int direction) {
    if (!isLoaded || (direction != 0 && direction != 1)) {
        return;
    }
    commitStep(direction == 0 ? currentImage.mirrored(false, true)
                              : currentImage.mirrored(true, false));
}
