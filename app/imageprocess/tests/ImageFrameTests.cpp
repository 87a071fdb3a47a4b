#include "ImageFrameFixture.h"

#include "ImageProcessLabel.h"
#include "ImageProcessTextEdit.h"
#include "ModalDriver.h"

#include <QColorDialog>
#include <QLabel>

#include <cmath>

namespace {

// Bytes of the cooled camera's decoded frame (16-byte header).
std::vector<unsigned char> cooledFrame(int width, int height, int bits, int spp,
                                       const std::vector<int>& samples) {
    std::vector<unsigned char> bytes(16, 0);
    bytes[4] = static_cast<unsigned char>(width);
    bytes[6] = static_cast<unsigned char>(height);
    bytes[8] = static_cast<unsigned char>(bits);
    bytes[9] = static_cast<unsigned char>(spp);
    bytes[12] = 16;
    for (int s : samples) {
        bytes.push_back(static_cast<unsigned char>(s & 0xFF));
        if (bits != 8) {
            bytes.push_back(static_cast<unsigned char>(s >> 8));
        }
    }
    return bytes;
}

QList<bool> boolArgs(const QSignalSpy& spy) {
    QList<bool> values;
    for (const auto& call : spy) {
        values << call.at(0).toBool();
    }
    return values;
}

QPixmap shownPixmap(ImageProcess_ImageFrame& frame) {
    return frame.findChild<QLabel*>(QStringLiteral("label_Pic"))->pixmap(Qt::ReturnByValue);
}

}  // namespace

TEST_F(ImageFrameTest, GelEntryShowsTheCaptureTurnedAndFittedWithAFreshHistory) {
    // Width 5 is not a multiple of 4; row r of the buffer holds 10 r + c.
    putGelCapture(5, 3, [](int x, int y) { return 10 * y + x; });
    QSignalSpy undo(frame.get(), &ImageProcess_ImageFrame::updateUndoStatus);
    QSignalSpy redo(frame.get(), &ImageProcess_ImageFrame::updateRedoStatus);
    QSignalSpy buttons(frame.get(), &ImageProcess_ImageFrame::updateButtonStatus);
    QSignalSpy funs(frame.get(), &ImageProcess_ImageFrame::updateFunsFrame);
    frame->enterIPFrameHandle();

    const QImage& picture = frame->currentPicture();
    ASSERT_EQ(picture.format(), QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(5, 3));
    // Turned by 180 degrees, as the stored picture: buffer row 0 at the
    // bottom, read from right to left.
    EXPECT_EQ(picture.pixel(4, 2), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(0, 2), qRgb(4, 4, 4));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(24, 24, 24));
    EXPECT_EQ(picture.pixel(3, 1), qRgb(11, 11, 11));
    EXPECT_EQ(frame->historySize(), 1);
    EXPECT_EQ(boolArgs(undo), QList<bool>{false});
    EXPECT_EQ(boolArgs(redo), QList<bool>{false});
    EXPECT_EQ(buttons.count(), 1);
    // Fresh start (1.0), then the fit factor of the scroll area.
    ASSERT_EQ(funs.count(), 2);
    const double fit = funs.at(1).at(0).toDouble();
    EXPECT_EQ(fit, frame->zoom());
    const QSize area = scrollAreaSize();
    EXPECT_EQ(shownPixmap(*frame).size(), QSize(5, 3).scaled(area, Qt::KeepAspectRatio));
    EXPECT_DOUBLE_EQ(fit, static_cast<double>(shownPixmap(*frame).width()) / 5);
    // The buffer stays the camera's.
    EXPECT_EQ(ZdqCameraCtrl::getInstance()->frameBuffer, gelBuffer.data());
}

TEST_F(ImageFrameTest, EntryWithNothingToShowChangesNothing) {
    QSignalSpy buttons(frame.get(), &ImageProcess_ImageFrame::updateButtonStatus);
    for (int type : {Varnu, WesternBlot, MultFluore}) {
        s_control->expType = type;
        frame->enterIPFrameHandle();
    }
    EXPECT_FALSE(frame->loaded());
    EXPECT_EQ(buttons.count(), 0);
    // Nothing loaded: the operations and the view do nothing.
    frame->inverseClickHandle();
    frame->adaptClickHandle();
    frame->origialClickHandle();
    frame->rotateByAngleHandle(90);
    EXPECT_EQ(frame->historySize(), 0);
    EXPECT_TRUE(frame->currentPicture().isNull());
}

TEST_F(ImageFrameTest, MultiFluorescenceEntryKeepsThePictureItHas) {
    enterWithGelPicture();
    frame->inverseClickHandle();
    const QImage inverted = frame->currentPicture();
    frame->exitIPFrameHandle();
    EXPECT_FALSE(frame->loaded());
    s_control->expType = MultFluore;
    QSignalSpy buttons(frame.get(), &ImageProcess_ImageFrame::updateButtonStatus);
    frame->enterIPFrameHandle();
    EXPECT_TRUE(frame->loaded());
    EXPECT_EQ(buttons.count(), 1);
    EXPECT_EQ(frame->currentPicture(), inverted);
    EXPECT_EQ(frame->historySize(), 1);
}

struct CooledCase {
    const char* name;
    int bits;
    int spp;
    bool flip;
    std::vector<int> samples;  // 2 x 2 pixels
    QRgb topLeft;
    QRgb bottomRight;
};

class CooledEntry : public ImageFrameTest, public testing::WithParamInterface<CooledCase> {};

TEST_P(CooledEntry, DecodesTheFrameOnceAndFollowsTheFlipSetting) {
    const CooledCase& c = GetParam();
    s_control->expType = WesternBlot;
    s_control->camOpt.tucsenCurrentCamSet.Flip = c.flip ? 1 : 0;
    EXPECT_TRUE(s_control->camOpt.saveTucsenCurrentCamSet());
    putCooledFrame(cooledFrame(2, 2, c.bits, c.spp, c.samples), 64);
    QSignalSpy hide(frame.get(), &ImageProcess_ImageFrame::hideToolsFrame);
    frame->enterIPFrameHandle();

    ASSERT_TRUE(frame->loaded());
    EXPECT_EQ(hide.count(), 1);
    EXPECT_EQ(frame->currentPicture().format(), QImage::Format_RGB32);
    EXPECT_EQ(frame->currentPicture().pixel(0, 0), c.topLeft);
    EXPECT_EQ(frame->currentPicture().pixel(1, 1), c.bottomRight);
    EXPECT_EQ(TucsenCamCtrl::getInstance()->frameWidth, 2);
    EXPECT_EQ(TucsenCamCtrl::getInstance()->frameHeight, 2);
    // Used once: the next entry finds nothing and keeps the picture.
    EXPECT_EQ(s_control->pictureBuffer, nullptr);
    frame->exitIPFrameHandle();
    QSignalSpy buttons(frame.get(), &ImageProcess_ImageFrame::updateButtonStatus);
    frame->enterIPFrameHandle();
    EXPECT_FALSE(frame->loaded());
    EXPECT_EQ(buttons.count(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CooledEntry,
    testing::Values(
        CooledCase{"grey8", 8, 1, false, {10, 20, 30, 40}, qRgb(10, 10, 10), qRgb(40, 40, 40)},
        CooledCase{"grey16Flipped",
                   16,
                   1,
                   true,
                   {0x0A00, 0x1400, 0x1E00, 0x28FF},
                   qRgb(30, 30, 30),
                   qRgb(20, 20, 20)},
        CooledCase{"colour8",
                   8,
                   3,
                   false,
                   {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
                   qRgb(1, 2, 3),
                   qRgb(10, 11, 12)},
        CooledCase{
            "colour16Flipped",
            16,
            3,
            true,
            {0x100, 0x200, 0x300, 0x400, 0x500, 0x600, 0x700, 0x800, 0x900, 0xA00, 0xB00, 0xC00},
            qRgb(7, 8, 9),
            qRgb(4, 5, 6)}),
    [](const testing::TestParamInfo<CooledCase>& info) { return std::string(info.param.name); });

TEST_F(ImageFrameTest, CooledFrameWhoseHeaderLiesIsRefusedWithAWarning) {
    enterWithGelPicture();
    frame->inverseClickHandle();
    const QImage before = frame->currentPicture();
    s_control->expType = WesternBlot;
    // The header claims 200 x 200 samples; the buffer holds 64 x 3 bytes.
    auto bytes = cooledFrame(2, 2, 8, 1, {1, 2, 3, 4});
    bytes[4] = 200;
    bytes[6] = 200;
    putCooledFrame(bytes, 64);
    ModalDriver driver;
    driver.answerMessageBox();
    QSignalSpy buttons(frame.get(), &ImageProcess_ImageFrame::updateButtonStatus);
    frame->enterIPFrameHandle();
    EXPECT_EQ(driver.messages(), QStringList{"Warning|The captured picture cannot be read."});
    EXPECT_EQ(buttons.count(), 0);
    EXPECT_EQ(frame->currentPicture(), before);
    EXPECT_EQ(frame->historySize(), 2);
    EXPECT_EQ(s_control->pictureBuffer, nullptr);
}

TEST_F(ImageFrameTest, FiveStepsAndFiveUndosThenTwoUndosAndAStep) {
    enterWithGelPicture();
    const QImage loaded = frame->currentPicture();
    QSignalSpy undo(frame.get(), &ImageProcess_ImageFrame::updateUndoStatus);
    QSignalSpy redo(frame.get(), &ImageProcess_ImageFrame::updateRedoStatus);
    for (int i = 0; i < 5; ++i) {
        frame->inverseClickHandle();
    }
    EXPECT_EQ(frame->historySize(), 6);
    EXPECT_EQ(boolArgs(undo), (QList<bool>{true, true, true, true, true}));
    EXPECT_TRUE(redo.isEmpty());
    undo.clear();
    for (int i = 0; i < 5; ++i) {
        frame->undoClickHandle();
    }
    EXPECT_EQ(frame->currentPicture(), loaded);
    EXPECT_EQ(frame->historyIndex(), 0);
    EXPECT_EQ(boolArgs(undo), QList<bool>{false});
    EXPECT_EQ(boolArgs(redo), QList<bool>{true});
    // Past the first entry a direct call is ignored.
    frame->undoClickHandle();
    EXPECT_EQ(frame->historyIndex(), 0);
    EXPECT_EQ(boolArgs(undo), QList<bool>{false});

    // Redo all the way, and once more (ignored).
    undo.clear();
    redo.clear();
    for (int i = 0; i < 6; ++i) {
        frame->redoClickHandle();
    }
    EXPECT_EQ(frame->historyIndex(), 5);
    EXPECT_EQ(boolArgs(undo), QList<bool>{true});
    EXPECT_EQ(boolArgs(redo), QList<bool>{false});

    // Two undos, then a new step: the undone entries go, redo is off.
    frame->undoClickHandle();
    frame->undoClickHandle();
    redo.clear();
    frame->mirrorByDirectionHandle(1);
    EXPECT_EQ(frame->historySize(), 5);
    EXPECT_EQ(frame->historyIndex(), 4);
    EXPECT_EQ(boolArgs(redo), (QList<bool>{false}));
    frame->redoClickHandle();
    EXPECT_EQ(frame->historyIndex(), 4);

    // Reset goes back to the loaded picture with one entry.
    frame->resetClickHandle();
    EXPECT_EQ(frame->currentPicture(), loaded);
    EXPECT_EQ(frame->historySize(), 1);
    EXPECT_EQ(frame->zoom(), 1.0);
}

TEST_F(ImageFrameTest, EachOperationIsOneStepAndTwoInversionsGiveBackTheBytes) {
    // The picture (the buffer turned by 180 degrees) holds 16 (3 - y) + 4 x.
    putGelCapture(4, 4, [](int x, int y) { return 16 * y + 4 * (3 - x); });
    frame->enterIPFrameHandle();
    const QImage loaded = frame->currentPicture();
    frame->inverseClickHandle();
    EXPECT_EQ(frame->currentPicture().pixel(0, 3), qRgb(255, 255, 255));
    frame->inverseClickHandle();
    EXPECT_EQ(frame->currentPicture(), loaded);
    EXPECT_EQ(frame->historySize(), 3);
    int steps = 3;
    for (auto operation :
         {&ImageProcess_ImageFrame::medianClickHandle, &ImageProcess_ImageFrame::bwClickHandle,
          &ImageProcess_ImageFrame::pseudoClickHandle}) {
        (frame.get()->*operation)();
        EXPECT_EQ(frame->historySize(), ++steps);
        EXPECT_EQ(frame->currentPicture().format(), QImage::Format_RGB32);
    }
    // Grey 0 through the jet map is dark blue.
    frame->resetClickHandle();
    frame->pseudoClickHandle();
    EXPECT_EQ(frame->currentPicture().pixel(0, 3), qRgb(0, 0, 128));
}

TEST_F(ImageFrameTest, DyeingTakesTheChosenColourAndACancelChangesNothing) {
    // Shown black at the left, white at the right.
    putGelCapture(2, 1, [](int x, int) { return x == 1 ? 0 : 255; });
    frame->enterIPFrameHandle();
    ModalDriver cancel;
    cancel.onDialog([](QDialog* dialog) { dialog->reject(); });
    frame->dyeingClickHandle();
    EXPECT_EQ(cancel.pendingSteps(), 0);
    EXPECT_EQ(frame->historySize(), 1);

    ModalDriver red;
    QString title;
    red.onDialog([&title](QDialog* dialog) {
        auto* colours = qobject_cast<QColorDialog*>(dialog);
        ASSERT_NE(colours, nullptr);
        title = colours->windowTitle();
        EXPECT_EQ(colours->currentColor(), QColor(Qt::blue));
        colours->setCurrentColor(QColor(255, 0, 0));
        colours->accept();
    });
    frame->dyeingClickHandle();
    EXPECT_EQ(title, "Select Color");
    EXPECT_EQ(frame->historySize(), 2);
    EXPECT_EQ(frame->currentPicture().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(frame->currentPicture().pixel(1, 0), qRgb(255, 254, 254));
}

TEST_F(ImageFrameTest, RotationAndMirroring) {
    enterWithGelPicture(40, 30);
    const QImage loaded = frame->currentPicture();
    QSignalSpy funs(frame.get(), &ImageProcess_ImageFrame::updateFunsFrame);
    frame->rotateByAngleHandle(90);
    EXPECT_EQ(frame->currentPicture().size(), QSize(30, 40));
    EXPECT_EQ(frame->currentPicture().format(), QImage::Format_RGB32);
    // Clockwise: the old bottom-left corner is the new top-left.
    EXPECT_EQ(frame->currentPicture().pixel(0, 0), loaded.pixel(0, 29));
    ASSERT_EQ(funs.count(), 1);
    EXPECT_EQ(funs.at(0).at(1).toInt(), 0);

    frame->rotateByAngleHandle(45);
    const QImage free = frame->currentPicture();
    EXPECT_EQ(free.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_GT(free.width(), 40);
    EXPECT_EQ(qAlpha(free.pixel(0, 0)), 0);
    // The operations take the premultiplied picture too.
    frame->inverseClickHandle();
    EXPECT_EQ(frame->historySize(), 4);

    frame->resetClickHandle();
    frame->mirrorByDirectionHandle(0);
    EXPECT_EQ(frame->currentPicture(), loaded.mirrored(false, true));
    frame->mirrorByDirectionHandle(1);
    EXPECT_EQ(frame->currentPicture(), loaded.mirrored(true, true));
    frame->mirrorByDirectionHandle(2);
    EXPECT_EQ(frame->historySize(), 3);
}

TEST_F(ImageFrameTest, ZoomStepCountsAndARatioOfZeroNeverBecomesTheZoom) {
    enterWithGelPicture();
    frame->origialClickHandle();
    int steps = 0;
    double last = frame->zoom();
    for (int i = 0; i < 100; ++i) {
        frame->zoomInHandle();
        if (frame->zoom() == last) {
            break;
        }
        last = frame->zoom();
        ++steps;
    }
    EXPECT_EQ(steps, 41);
    EXPECT_NEAR(frame->zoom(), 5.1, 1e-9);
    // The display rule: int(40 z) x int(30 z), the aspect kept inside it.
    const QSize shown(static_cast<int>(40 * frame->zoom()), static_cast<int>(30 * frame->zoom()));
    EXPECT_EQ(shownPixmap(*frame).size(), QSize(40, 30).scaled(shown, Qt::KeepAspectRatio));

    frame->origialClickHandle();
    steps = 0;
    last = frame->zoom();
    for (int i = 0; i < 100; ++i) {
        frame->zoomOutHandle();
        if (frame->zoom() == last) {
            break;
        }
        last = frame->zoom();
        ++steps;
    }
    EXPECT_EQ(steps, 9);
    EXPECT_NEAR(frame->zoom(), 0.1, 1e-9);

    frame->zoomByRatioHandle(2.0);
    EXPECT_EQ(frame->zoom(), 2.0);
    QSignalSpy funs(frame.get(), &ImageProcess_ImageFrame::updateFunsFrame);
    frame->zoomByRatioHandle(0.0);
    EXPECT_EQ(frame->zoom(), 2.0);
    ASSERT_EQ(funs.count(), 1);
    EXPECT_EQ(funs.at(0).at(0).toDouble(), 2.0);
    EXPECT_EQ(shownPixmap(*frame).size(), QSize(80, 60));
}

TEST_F(ImageFrameTest, ZoomRatiosOnSmallAndLargePicturesShowAViewWithoutAWarning) {
    struct Case {
        int width, height;
        double ratio;
        QSize shown;
    };
    const Case cases[] = {
        {1, 1, 0.1, {1, 1}},   {3, 2, 0.2, {1, 1}},           {5, 3, 0.1, {1, 1}},
        {4, 1, 0.5, {2, 1}},   {1, 40, 0.3, {1, 12}},         {2, 2, 10.0, {20, 20}},
        {40, 30, 0.1, {4, 3}}, {2592, 1944, 0.1, {258, 194}}, {2592, 1944, 3.0, {7776, 5832}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " at " << c.ratio);
        putGelCapture(c.width, c.height, [](int x, int y) { return (x + y) % 256; });
        frame->enterIPFrameHandle();
        ModalDriver driver;
        frame->zoomByRatioHandle(c.ratio);
        EXPECT_TRUE(driver.messages().isEmpty());
        EXPECT_EQ(frame->zoom(), c.ratio);
        EXPECT_EQ(shownPixmap(*frame).size(), c.shown);
    }
    // The steps of the wheel down to their bound on a 3 x 2 picture.
    putGelCapture(3, 2, [](int x, int y) { return x + y; });
    frame->enterIPFrameHandle();
    frame->origialClickHandle();
    ModalDriver driver;
    for (int i = 0; i < 20; ++i) {
        frame->zoomOutHandle();
    }
    EXPECT_TRUE(driver.messages().isEmpty());
    EXPECT_NEAR(frame->zoom(), 0.1, 1e-9);
    EXPECT_EQ(shownPixmap(*frame).size(), QSize(1, 1));
}

TEST_F(ImageFrameTest, AViewTooLargeToMakeLeavesTheViewAsItWas) {
    // 2592 x 1944 at zoom 10 would be a 2 GB copy.
    putGelCapture(2592, 1944, [](int x, int y) { return (x + y) % 256; });
    frame->enterIPFrameHandle();
    frame->zoomByRatioHandle(1.5);
    ModalDriver driver;
    driver.answerMessageBox();
    frame->zoomByRatioHandle(10.0);
    EXPECT_EQ(driver.messages(), QStringList{"Warning|Not enough memory for this picture."});
    EXPECT_EQ(frame->zoom(), 1.5);
    EXPECT_EQ(shownPixmap(*frame).width(), 3888);
    EXPECT_EQ(frame->historySize(), 1);
}

TEST_F(ImageFrameTest, HistogramPreviewsFromTheOpeningPictureAndKeepsOneStep) {
    // Shown 49, 99, 149, 199 from the left.
    putGelCapture(4, 1, [](int x, int) { return 49 + 50 * (3 - x); });
    frame->enterIPFrameHandle();
    QList<ImageToolsFrameType> tool;
    QObject::connect(frame.get(), &ImageProcess_ImageFrame::changeToolFrame,
                     [&tool](ImageToolsFrameType type) { tool << type; });
    QSignalSpy histo(frame.get(), &ImageProcess_ImageFrame::sig_UpdateHisto);
    frame->histogramClickHandle();
    ASSERT_EQ(tool.count(), 1);
    EXPECT_EQ(tool.first(), ImageTools_HistogramAdjust);
    ASSERT_EQ(histo.count(), 1);
    EXPECT_EQ(histo.at(0).at(0).value<QImage>(), frame->currentPicture());

    frame->updateHistoedHandle(0, 100);
    frame->updateHistoedHandle(10, 20);
    frame->updateHistoedHandle(50, 200);
    EXPECT_EQ(frame->historySize(), 1);
    frame->toolsFrameHideHandle();
    frame->updateCurrImageHandle();
    EXPECT_EQ(frame->historySize(), 2);
    const QImage& kept = frame->currentPicture();
    EXPECT_EQ(kept.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(kept.pixel(1, 0), qRgb(83, 83, 83));
    EXPECT_EQ(kept.pixel(3, 0), qRgb(253, 253, 253));
}

TEST_F(ImageFrameTest, CropMapsTheLabelRectangleAtZoomOneAndTwo) {
    enterWithGelPicture(100, 60);
    frame->origialClickHandle();
    QSignalSpy finished(frame.get(), &ImageProcess_ImageFrame::cutFinish);
    frame->cutClickHandle();
    auto* label = frame->findChild<ImageProcessLabel*>(QStringLiteral("label_Pic"));
    EXPECT_TRUE(label->isCutStatus());
    const QSize area = scrollAreaSize();
    const QPoint origin((area.width() - 100) / 2, (area.height() - 60) / 2);
    // Exactly around the shown picture: the whole picture.
    frame->cutSelectedHandle(QRect(origin, QSize(100, 60)));
    EXPECT_EQ(frame->currentPicture(), frame->loadedPicture());
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(label->isCutStatus());

    frame->zoomByRatioHandle(2.0);
    frame->cutClickHandle();
    const QPoint origin2((area.width() - 200) / 2, (area.height() - 120) / 2);
    // 100 x 50 label pixels from (20, 10) of the shown picture, dragged
    // from the bottom right corner.
    const QRect dragged(origin2 + QPoint(20, 10), QSize(100, 50));
    frame->cutSelectedHandle(QRect(dragged.bottomRight(), dragged.topLeft()));
    EXPECT_EQ(frame->currentPicture(), frame->loadedPicture().copy(10, 5, 50, 25));
    EXPECT_EQ(frame->historySize(), 3);
}

TEST_F(ImageFrameTest, TextLabelIsDrawnInsideItsRectangleAndCommittedOnFocusLoss) {
    putGelCapture(300, 200, [](int, int) { return 255; });
    frame->enterIPFrameHandle();
    frame->zoomByRatioHandle(2.0);
    QSignalSpy finished(frame.get(), &ImageProcess_ImageFrame::labelFinish);
    frame->labelClickHandle();
    const QSize area = scrollAreaSize();
    // Zoom 2 of 300 x 200 is wider than the area: no offset across, the
    // scroll bar's room down.
    ASSERT_LT(area.width(), 600);
    const int dy = area.height() >= 400 + 30 ? (area.height() - 30 - 400) / 2 : 0;
    const QRect labelRect(QPoint(40, dy + 20), QSize(200, 120));
    frame->labelSelectedHandle(labelRect);
    auto* editor = frame->findChild<ImageProcessTextEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->geometry(), labelRect);
    EXPECT_EQ(editor->font().pointSize(), 32);

    // An empty text commits nothing and keeps the editor.
    emit editor->updateTextEdit();
    EXPECT_EQ(frame->historySize(), 1);
    EXPECT_EQ(frame->findChild<ImageProcessTextEdit*>(), editor);

    editor->setPlainText(QStringLiteral("WWWW WWWW WWWW WWWW WWWW WWWW"));
    emit editor->updateTextEdit();
    EXPECT_EQ(frame->historySize(), 2);
    EXPECT_EQ(finished.count(), 1);
    // The text rectangle: (20 / 2 + 4, 20 / 2 + 4), 100 x 60 picture pixels.
    const QRect textRect(24, 14, 100, 60);
    const QImage& picture = frame->currentPicture();
    QRect inked;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, y) != qRgb(255, 255, 255)) {
                inked |= QRect(x, y, 1, 1);
            }
        }
    }
    ASSERT_FALSE(inked.isEmpty());
    EXPECT_TRUE(textRect.contains(inked))
        << inked.x() << "," << inked.y() << " " << inked.width() << "x" << inked.height();
    // Wrapped: more than one line of 21-pixel text within the rectangle.
    EXPECT_GT(inked.height(), 21);
    EXPECT_LE(inked.right(), textRect.right());
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frame->findChild<ImageProcessTextEdit*>(), nullptr);
    EXPECT_FALSE(frame->findChild<ImageProcessLabel*>()->isLabelStatus());
    // The pointer is not over the label: the keyboard stays with the others.
    EXPECT_NE(QWidget::keyboardGrabber(), frame->findChild<ImageProcessLabel*>());
}

TEST_F(ImageFrameTest, LeavingAndBackForgetThePictureState) {
    enterWithGelPicture();
    frame->inverseClickHandle();
    QSignalSpy back(frame.get(), &ImageProcess_ImageFrame::showExpFrame);
    QMetaObject::invokeMethod(frame.get(), "on_pushButton_FrameBack_clicked");
    EXPECT_EQ(back.count(), 1);
    EXPECT_FALSE(frame->loaded());
    EXPECT_EQ(frame->historySize(), 0);
    EXPECT_TRUE(shownPixmap(*frame).isNull());
    frame->undoClickHandle();
    frame->zoomInHandle();
    EXPECT_EQ(frame->zoom(), 1.0);
}
