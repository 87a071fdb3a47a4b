// The image frame's pixel operations, histogram stretch, crop and text labels.
#include "ImageProcess_ImageFrame.h"

#include "ui_ImageProcess_ImageFrame.h"

#include "BlackWhite.h"
#include "Dyeing.h"
#include "HistogramStretch.h"
#include "ImageProcessTextEdit.h"
#include "Inversion.h"
#include "MedianFilter.h"
#include "PseudoColour.h"
#include "RectangleMapping.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QPainter>
#include <opencv2/core.hpp>

#include <algorithm>

namespace {

// The tool container's width, given back to the picture area when it closes.
constexpr int kToolsFrameWidth = 200;

}  // namespace

void ImageProcess_ImageFrame::inverseClickHandle() {
    if (isLoaded) {
        commitStep(matStep(imageops::invert));
    }
}

void ImageProcess_ImageFrame::medianClickHandle() {
    if (isLoaded) {
        commitStep(matStep(imageops::median3));
    }
}

void ImageProcess_ImageFrame::bwClickHandle() {
    if (isLoaded) {
        commitStep(matStep(imageops::blackAndWhite));
    }
}

void ImageProcess_ImageFrame::pseudoClickHandle() {
    if (isLoaded) {
        commitStep(matStep(imageops::pseudoColour));
    }
}

void ImageProcess_ImageFrame::dyeingClickHandle() {
    if (!isLoaded) {
        return;
    }
    const QColor colour = QColorDialog::getColor(Qt::blue, nullptr, QStringLiteral("Select Color"));
    if (!colour.isValid()) {
        return;
    }
    const cv::Mat table = imageops::dyeingTable(colour);
    commitStep(matStep([&table](const cv::Mat& mat) { return imageops::dye(mat, table); }));
}

// ---- Histogram stretch ---------------------------------------------------

void ImageProcess_ImageFrame::histogramClickHandle() {
    if (!isLoaded) {
        return;
    }
    histoBaseImage = currentImage;
    histoImage = QImage();
    emit changeToolFrame(ImageTools_HistogramAdjust);
    recordArea();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    emit sig_UpdateHisto(currentImage.copy());
}

void ImageProcess_ImageFrame::updateHistoedHandle(int minInten, int maxInten) {
    if (histoBaseImage.isNull()) {
        return;
    }
    const QImage preview = imageops::stretchPicture(histoBaseImage, minInten, maxInten);
    if (preview.isNull()) {
        tellNoMemory();
        return;
    }
    histoImage = preview;
    showScaled(histoImage);
}

void ImageProcess_ImageFrame::toolsFrameHideHandle() {
    areaWidth += kToolsFrameWidth;
}

void ImageProcess_ImageFrame::updateCurrImageHandle() {
    if (histoImage.isNull()) {
        return;  // no range was chosen: nothing to keep
    }
    // The preview is already on screen.
    currentImage = histoImage;
    recordStep();
    imageList.append(currentImage);
}

// ---- Crop ----------------------------------------------------------------

void ImageProcess_ImageFrame::cutClickHandle() {
    if (!isLoaded) {
        return;
    }
    recordArea();
    ui->label_Pic->setCutStatus(true);
    ui->label_Pic->update();
}

void ImageProcess_ImageFrame::cutCancelClickHandle() {
    if (!isLoaded) {
        return;
    }
    ui->label_Pic->setCutStatus(false);
    ui->label_Pic->update();
}

void ImageProcess_ImageFrame::cutSelectedHandle(QRect rect) {
    ui->label_Pic->setCutStatus(false);
    const QRect crop =
        imageops::cropRectangle(rect, currentImage.size(), zoomRatio, QSize(areaWidth, areaHeight));
    if (!isLoaded || crop.isEmpty()) {
        ui->label_Pic->update();
        emit cutFinish();
        return;
    }
    if (commitStep(currentImage.copy(crop))) {
        ui->label_Pic->update();
    }
    emit cutFinish();
}

// ---- Text labels ---------------------------------------------------------

void ImageProcess_ImageFrame::labelClickHandle() {
    if (!isLoaded) {
        return;
    }
    recordArea();
    ui->label_Pic->setLabelStatus(true);
}

void ImageProcess_ImageFrame::labelCancelClickHandle() {
    if (!isLoaded) {
        return;
    }
    deleteTextEdit();
    ui->label_Pic->setLabelStatus(false);
    ui->label_Pic->update();
}

void ImageProcess_ImageFrame::setColorHandle(QColor color) {
    if (isLoaded && color.isValid()) {
        textColor = color;
    }
}

void ImageProcess_ImageFrame::setFontHandle(QFont font) {
    if (!isLoaded) {
        return;
    }
    textFont.setPointSize(font.pointSize());
    textFont.setFamily(font.family());
}

void ImageProcess_ImageFrame::deleteTextEdit() {
    if (textEdit == nullptr) {
        return;
    }
    // Going away is not a commit.
    textEdit->blockSignals(true);
    textEdit->hide();
    textEdit->deleteLater();
    textEdit = nullptr;
}

void ImageProcess_ImageFrame::labelSelectedHandle(QRect rect) {
    if (!isLoaded) {
        return;
    }
    deleteTextEdit();
    ui->label_Pic->releaseKeyboard();
    textEdit = new ImageProcessTextEdit(ui->label_Pic);
    const QImage keptPicture = currentImage;
    const QRect keptRect = rect;

    QFont editorFont = textEdit->font();
    editorFont.setPointSize(std::max(1, static_cast<int>(textFont.pointSize() * zoomRatio)));
    editorFont.setFamily(textFont.family());
    textEdit->setFont(editorFont);
    textEdit->setTextColor(textColor);
    connect(
        textEdit, &ImageProcessTextEdit::updateTextEdit, this,
        [this, keptPicture, keptRect] { commitText(keptPicture, keptRect); }, Qt::DirectConnection);

    const QRect shown = rect.normalized();
    textEdit->setStyleSheet(QStringLiteral("border: none; background:transparent;"));
    textEdit->move(shown.topLeft());
    textEdit->resize(shown.size());
    textEdit->raise();
    textEdit->show();
    textEdit->setFocus(Qt::OtherFocusReason);
}

void ImageProcess_ImageFrame::commitText(const QImage& picture, const QRect& rect) {
    if (textEdit == nullptr) {
        return;
    }
    const QString text = textEdit->toPlainText();
    if (text.isEmpty()) {
        return;  // the editor stays open
    }
    const QRect target =
        imageops::textRectangle(rect, picture.size(), zoomRatio, QSize(areaWidth, areaHeight));
    QImage painted = picture.copy();
    if (!painted.isNull() && !target.isEmpty()) {
        QPainter painter(&painted);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        QPen pen = painter.pen();
        pen.setColor(textColor);
        painter.setPen(pen);
        QFont font = painter.font();
        font.setPixelSize(std::max(1, imageops::fontPixelSize(textFont.pointSize())));
        font.setFamily(textFont.family());
        painter.setFont(font);
        painter.drawText(target, Qt::TextWordWrap, text);
    }
    if (!commitStep(painted)) {
        return;  // the editor stays, with its text
    }
    deleteTextEdit();
    ui->label_Pic->setLabelStatus(false);
    ui->label_Pic->update();
    // The label takes the keyboard back only under the pointer, so Ctrl and
    // the wheel zoom there while other widgets keep their keys.
    if (ui->label_Pic->underMouse()) {
        ui->label_Pic->grabKeyboard();
    }
    emit labelFinish();
}
