#include "ImageProcessLabel.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
};

class LabelTest : public testing::Test {
  protected:
    // A move with the left button held (or not), delivered to the label.
    void move(const QPoint& at, bool leftHeld = true) {
        QMouseEvent event(QEvent::MouseMove, at, Qt::NoButton,
                          leftHeld ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&label, &event);
    }
    void SetUp() override {
        label.resize(300, 200);
        label.show();
        QApplication::processEvents();
    }
    bool wheel(int delta) {
        QWheelEvent event(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        event.ignore();
        QApplication::sendEvent(&label, &event);
        return event.isAccepted();
    }
    ImageProcessLabel label;
};

}  // namespace

TEST_F(LabelTest, CropDragReportsTheInclusiveRectangleAndLeavesCropMode) {
    label.setCutStatus(true);
    QSignalSpy cut(&label, &ImageProcessLabel::cutSelected);
    QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    move(QPoint(60, 30));
    move(QPoint(110, 60));
    QTest::mouseRelease(&label, Qt::LeftButton, Qt::NoModifier, QPoint(110, 60));
    ASSERT_EQ(cut.count(), 1);
    const QRect rect = cut.at(0).at(0).toRect();
    EXPECT_EQ(rect, QRect(QPoint(10, 10), QPoint(110, 60)));
    EXPECT_EQ(rect.size(), QSize(101, 51));
    EXPECT_FALSE(label.isCutStatus());
}

TEST_F(LabelTest, RightButtonAndReleasesWithoutAPressReportNothing) {
    label.setCutStatus(true);
    QSignalSpy cut(&label, &ImageProcessLabel::cutSelected);
    QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseRelease(&label, Qt::RightButton, Qt::NoModifier, QPoint(50, 50));
    EXPECT_EQ(cut.count(), 0);
    EXPECT_TRUE(label.isCutStatus());
    QTest::mouseRelease(&label, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(cut.count(), 1);

    // The button went down before crop mode was set.
    label.setCutStatus(true);
    QTest::mouseRelease(&label, Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    EXPECT_EQ(cut.count(), 1);
    EXPECT_TRUE(label.isCutStatus());
}

TEST_F(LabelTest, TextModeStaysOnAfterItsRectangle) {
    label.setLabelStatus(true);
    QSignalSpy text(&label, &ImageProcessLabel::labelSelected);
    QSignalSpy cut(&label, &ImageProcessLabel::cutSelected);
    QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(100, 80));
    move(QPoint(40, 20));
    QTest::mouseRelease(&label, Qt::LeftButton, Qt::NoModifier, QPoint(40, 20));
    ASSERT_EQ(text.count(), 1);
    EXPECT_EQ(text.at(0).at(0).toRect(), QRect(QPoint(100, 80), QPoint(40, 20)));
    EXPECT_EQ(cut.count(), 0);
    EXPECT_TRUE(label.isLabelStatus());
}

TEST_F(LabelTest, CtrlAndTheWheelZoomWithoutCtrlTheEventGoesOn) {
    QSignalSpy in(&label, &ImageProcessLabel::zoomIn);
    QSignalSpy out(&label, &ImageProcessLabel::zoomOut);
    EXPECT_FALSE(wheel(120));
    EXPECT_EQ(in.count() + out.count(), 0);

    QTest::keyPress(&label, Qt::Key_Control);
    EXPECT_TRUE(wheel(120));
    EXPECT_TRUE(wheel(240));
    EXPECT_TRUE(wheel(-120));
    EXPECT_TRUE(wheel(0));
    EXPECT_EQ(in.count(), 2);
    EXPECT_EQ(out.count(), 2);

    QTest::keyRelease(&label, Qt::Key_Control);
    EXPECT_FALSE(wheel(120));
    EXPECT_EQ(in.count(), 2);
}

TEST_F(LabelTest, LeavingTheLabelForgetsCtrl) {
    QSignalSpy in(&label, &ImageProcessLabel::zoomIn);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(&label, &enter);
    EXPECT_EQ(QWidget::keyboardGrabber(), &label);
    QTest::keyPress(&label, Qt::Key_Control);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&label, &leave);
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    // Ctrl was released while another widget had the keyboard.
    EXPECT_FALSE(wheel(120));
    EXPECT_EQ(in.count(), 0);
}

TEST_F(LabelTest, MovingWithoutAPressedButtonDoesNotRepaint) {
    label.setCutStatus(true);
    PaintCounter counter;
    label.installEventFilter(&counter);
    QApplication::processEvents();
    counter.paints = 0;
    move(QPoint(30, 30), false);
    move(QPoint(60, 40), false);
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    move(QPoint(70, 50));
    QApplication::processEvents();
    EXPECT_GT(counter.paints, 0);
}

TEST_F(LabelTest, CropModeDarkensTheLabelAndTextModeOutlinesInRed) {
    QPixmap white(300, 200);
    white.fill(Qt::white);
    label.setPixmap(white);
    label.setCutStatus(true);
    QImage darkened = label.grab().toImage();
    EXPECT_LT(qRed(darkened.pixel(150, 100)), 255);
    EXPECT_EQ(qRed(darkened.pixel(150, 100)), qBlue(darkened.pixel(150, 100)));

    // While dragging the selection stays bright.
    QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(100, 50));
    move(QPoint(200, 150));
    darkened = label.grab().toImage();
    EXPECT_EQ(darkened.pixel(150, 100), qRgb(255, 255, 255));
    EXPECT_LT(qRed(darkened.pixel(20, 20)), 255);
    QTest::mouseRelease(&label, Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));

    label.setLabelStatus(true);
    QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    move(QPoint(150, 120));
    QTest::mouseRelease(&label, Qt::LeftButton, Qt::NoModifier, QPoint(150, 120));
    const QImage outlined = label.grab().toImage();
    EXPECT_EQ(outlined.pixel(50, 80), qRgb(255, 0, 0));
    EXPECT_EQ(outlined.pixel(100, 80), qRgb(255, 255, 255));
}
