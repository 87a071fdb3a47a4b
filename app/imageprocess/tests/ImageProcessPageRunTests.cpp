// One run through the page as a user works: import, operations, crop, a
// text label, undo and redo, the histogram tool and saving.

#include "PageFixture.h"

#include "HistogramAdjustToolFrame.h"
#include "ImageProcessFrame.h"
#include "ImageProcessLabel.h"
#include "ImageProcessTextEdit.h"
#include "ImageProcess_FuncsFrame.h"
#include "ImageProcess_ImageFrame.h"
#include "ImageProcess_ToolsFrame.h"
#include "ModalDriver.h"
#include "widgets/MySlider.h"

#include <tiffio.h>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

void chooseFile(ModalDriver& driver, const QString& path, const QString& filter = {}) {
    driver.onDialog([path, filter](QDialog* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        if (!filter.isEmpty()) {
            files->selectNameFilter(filter);
        }
        files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        dialog->done(QDialog::Accepted);
    });
}

float tiffResolution(const QString& path) {
    TIFF* tif = TIFFOpen(path.toUtf8().constData(), "r");
    if (tif == nullptr) {
        return -1;
    }
    float x = -1;
    TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x);
    TIFFClose(tif);
    return x;
}

// The lowest and highest weighted grey of a picture's pixels.
std::pair<int, int> greyRange(const QImage& picture) {
    int low = 255;
    int high = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            const int grey = (30 * qRed(p) + 59 * qGreen(p) + 11 * qBlue(p) + 50) / 100;
            low = std::min(low, grey);
            high = std::max(high, grey);
        }
    }
    return {low, high};
}

void drag(QWidget* label, const QPoint& from, const QPoint& to) {
    QTest::mousePress(label, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(label, &move);
    QTest::mouseRelease(label, Qt::LeftButton, Qt::NoModifier, to);
}

}  // namespace

TEST_F(PageTest, ImportOperateCropLabelUndoRedoHistogramAndSaveAt300Dpi) {
    ImageProcessFrame page;
    page.resize(1024, 643);
    page.show();
    QApplication::processEvents();
    auto* image = page.imageFrame();
    auto* funcs = page.findChild<ImageProcess_FuncsFrame*>();
    auto* tools = page.findChild<ImageProcess_ToolsFrame*>();
    auto* label = page.findChild<ImageProcessLabel*>("label_Pic");
    QList<bool> undo;
    QList<bool> redo;
    QObject::connect(image, &ImageProcess_ImageFrame::updateUndoStatus,
                     [&undo](bool possible) { undo << possible; });
    QObject::connect(image, &ImageProcess_ImageFrame::updateRedoStatus,
                     [&redo](bool possible) { redo << possible; });

    page.slot_EnterIPFrame();
    ASSERT_TRUE(enabledButtons(*funcs).isEmpty());

    QTemporaryDir dir;
    QImage source(200, 150, QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            source.setPixel(x, y, qRgb(x, y, (x + y) % 256));
        }
    }
    ASSERT_TRUE(source.save(dir.filePath("gel.png")));
    {
        ModalDriver driver;
        chooseFile(driver, dir.filePath("gel.png"));
        click(page, "pushButton_Import");
        ASSERT_EQ(driver.pendingSteps(), 0);
    }
    ASSERT_EQ(image->currentPicture(), source);
    EXPECT_EQ(enabledButtons(*funcs).size(), 22);

    click(*funcs, "pushButton_Inverse");
    EXPECT_EQ(image->currentPicture().pixel(0, 0), qRgb(255, 255, 255));
    click(*funcs, "pushButton_Pseudo");
    const QImage coloured = image->currentPicture();

    // Crop at actual size, 60 x 40 picture pixels from (30, 20): the drag
    // is placed on the picture as the label centres it, and the crop is what
    // lay under it.
    click(*funcs, "pushButton_Origial");
    QApplication::processEvents();
    const auto shownAt = [label](const QSize& picture) {
        return QPoint((label->width() - picture.width()) / 2,
                      (label->height() - picture.height()) / 2);
    };
    click(*funcs, "pushButton_Cut");
    EXPECT_EQ(enabledButtons(*funcs), QStringList{"pushButton_CutCancel"});
    const QPoint origin = shownAt(QSize(200, 150));
    drag(label, origin + QPoint(30, 20), origin + QPoint(89, 59));
    ASSERT_EQ(image->currentPicture(), coloured.copy(30, 20, 60, 40));
    EXPECT_EQ(enabledButtons(*funcs).size(), 23);

    // A text label over the whole cropped picture: drawn inside it.
    QApplication::processEvents();
    click(*funcs, "pushButton_Label");
    EXPECT_EQ(enabledButtons(*funcs), QStringList{"pushButton_LabelCancel"});
    const QPoint cropped = shownAt(QSize(60, 40));
    drag(label, cropped, cropped + QPoint(59, 39));
    auto* editor = label->findChild<ImageProcessTextEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setPlainText("A1");
    emit editor->updateTextEdit();
    EXPECT_EQ(image->historySize(), 5);
    const QImage labelled = image->currentPicture();
    EXPECT_NE(labelled, coloured.copy(30, 20, 60, 40));
    EXPECT_EQ(enabledButtons(*funcs).size(), 23);

    click(*funcs, "pushButton_Undo");
    click(*funcs, "pushButton_Undo");
    EXPECT_EQ(image->currentPicture(), coloured);
    click(*funcs, "pushButton_Redo");
    EXPECT_EQ(image->currentPicture(), coloured.copy(30, 20, 60, 40));
    EXPECT_EQ(enabledButtons(*funcs).size(), 24);

    // The histogram tool: a manual range, Auto back to the picture's range,
    // Back keeps it as one step.
    click(*funcs, "pushButton_Histogram");
    auto* histogram = tools->findChild<HistogramAdjustToolFrame*>();
    ASSERT_TRUE(histogram->isVisible());
    auto* left = histogram->findChild<MySlider*>("horizontalSlider_Left");
    auto* right = histogram->findChild<MySlider*>("horizontalSlider_Right");
    const std::pair<int, int> range = greyRange(image->currentPicture());
    EXPECT_EQ(left->value(), range.first);
    EXPECT_EQ(right->value(), range.second);
    left->setValue(range.first + 30);
    click(*tools, "pushButton_Auto");
    EXPECT_EQ(left->value(), range.first);
    EXPECT_EQ(right->value(), range.second);
    left->setValue(range.first + 10);
    const QImage beforeStretch = image->currentPicture();
    click(*histogram, "pushButton_Back");
    EXPECT_FALSE(tools->isVisible());
    EXPECT_EQ(image->historySize(), 5);
    EXPECT_NE(image->currentPicture(), beforeStretch);
    EXPECT_FALSE(funcs->findChild<QPushButton*>("pushButton_Redo")->isEnabled());
    EXPECT_TRUE(funcs->findChild<QPushButton*>("pushButton_Undo")->isEnabled());

    // Save at 300 dpi.
    const int chineseRows = auditRows(0);
    const int englishRows = auditRows(1);
    const QString saved = dir.filePath("result.tif");
    {
        ModalDriver driver;
        chooseFile(driver, saved, "300dpi(*.tif)");
        click(*funcs, "pushButton_Save");
        ASSERT_EQ(driver.pendingSteps(), 0);
    }
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_EQ(tiffResolution(saved), 300.0f);
    EXPECT_EQ(QImage(saved).convertToFormat(QImage::Format_RGB32), image->currentPicture());
    EXPECT_EQ(auditRows(0) - chineseRows, 1);
    EXPECT_EQ(auditRows(1) - englishRows, 1);

    // Import, four steps, two undos (the first makes redo possible), a redo,
    // the kept stretch (which ends the redo branch).
    EXPECT_EQ(undo, (QList<bool>{false, true, true, true, true, true}));
    EXPECT_EQ(redo, (QList<bool>{false, true, false}));
}
