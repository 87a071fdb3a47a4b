// The merge dialog over the picture folders of a test experiment: its form
// and list, the pictures it protects, merging two ticked pictures into both
// folders, the limits and a failed save, the product of two pictures and how
// a picture is fitted into the display.
#include "BlotStretch.h"
#include "CraftedPictures.h"
#include "FileSizeLimit.h"
#include "MergeDialog.h"
#include "MergeOrigins.h"
#include "ModalDriver.h"
#include "QtPrinters.h"
#include "WesternBlot_FuncsFrameType.h"
#include "WidgetsTestSupport.h"
#include "camera/TucsenCamCtrl.h"
#include "camera/TucsenPictureFiles.h"
#include "controller/CI_MainControl.h"
#include "database/Westblot_ExperimentDB.h"

#include <QDir>
#include <QFile>
#include <QGraphicsDropShadowEffect>
#include <QGridLayout>
#include <QImageWriter>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Capture pictures are named "hh-mm-ss-zzz.tif", merged ones "hh_mm_ss_zzz.tif".
const QStringList kCaptured = {"09-00-00-000.tif", "09-00-01-000.tif", "09-00-02-000.tif",
                               "09-00-03-000.tif"};

class MergeDialogTest : public testing::Test {
  protected:
    void SetUp() override {
        control = widgetsController();
        widgetsStation().setUserOption("storagePath", widgetsStation().filePath("UserImages"));
        widgetsStation().setUserOption("imageShowMode", 0);
        ASSERT_TRUE(QImageWriter::supportedImageFormats().contains("tif"));
    }
    // A western-blot record captured in `mode` with these exposures, on a
    // day that is not today, made the current experiment.
    void makeExperiment(int mode, const QString& exposures) {
        static int number = 0;
        WestblotExperiment row;
        row.expType = 1;
        row.name = QStringLiteral("WestBlot_Merge%1").arg(++number);
        row.dateTime = QDateTime(QDate(2026, 3, 4), QTime(23, 59, 59));
        row.exposureTime = exposures;
        ASSERT_TRUE(control->westblotExperimentDB->insertExperiment(row));
        TucsenCamCtrl::getInstance()->curExpName = row.name;
        TucsenCamCtrl::getInstance()->curFuncFrameType = mode;
        mainFolder = TucsenPictureFiles::storageFolder(widgetsStation().filePath("UserImages"),
                                                       row.dateTime.date(), row.name);
        copyFolder = TucsenPictureFiles::stationFolder(row.dateTime.date(), row.name);
    }
    void makePictures(const QStringList& names, QSize size = QSize(40, 30), int grey = 200) {
        QImage picture(size, QImage::Format_Grayscale8);
        picture.fill(grey);
        for (const QString& folder : {mainFolder, copyFolder}) {
            ASSERT_TRUE(QDir().mkpath(folder));
            for (const QString& name : names)
                ASSERT_TRUE(picture.save(folder + name, "TIF")) << name.toStdString();
        }
    }
    QStringList files(const QString& folder) const {
        return QDir(folder).entryList({"*.tif"}, QDir::Files, QDir::Name);
    }
    QListWidget* list(MergeDialog& dialog) {
        return childOf<QListWidget>(&dialog, "listWidget_Pic");
    }
    QStringList listed(MergeDialog& dialog) {
        QStringList names;
        for (int row = 0; row < list(dialog)->count(); ++row)
            names << list(dialog)->item(row)->text();
        return names;
    }
    int ticked(MergeDialog& dialog) {
        int count = 0;
        for (int row = 0; row < list(dialog)->count(); ++row)
            count += list(dialog)->item(row)->checkState() == Qt::Checked ? 1 : 0;
        return count;
    }
    void clickItem(MergeDialog& dialog, const QString& name) {
        QListWidget* widget = list(dialog);
        const QList<QListWidgetItem*> found = widget->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        widget->scrollToItem(found.first());
        QTest::mouseClick(widget->viewport(), Qt::LeftButton, {},
                          widget->visualItemRect(found.first()).center());
    }
    // Clicks the tick box of the item, where the list draws it.
    void clickTickBox(MergeDialog& dialog, const QString& name) {
        struct ItemOptions : QStyledItemDelegate {
            using QStyledItemDelegate::initStyleOption;
        };
        QListWidget* widget = list(dialog);
        const QList<QListWidgetItem*> found = widget->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        QStyleOptionViewItem option;
        option.initFrom(widget->viewport());
        option.decorationSize = widget->iconSize();
        option.decorationPosition = QStyleOptionViewItem::Top;
        option.displayAlignment = Qt::AlignCenter;
        option.rect = widget->visualItemRect(found.first());
        ItemOptions().initStyleOption(&option,
                                      widget->model()->index(widget->row(found.first()), 0));
        const QRect box =
            widget->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, widget);
        ASSERT_TRUE(option.rect.contains(box.center()));
        QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, box.center());
    }
    void click(MergeDialog& dialog, const char* button) {
        QTest::mouseClick(childOf<QPushButton>(&dialog, button), Qt::LeftButton);
    }
    void open(MergeDialog& dialog) {
        dialog.initDialog();
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    CI_MainControl* control = nullptr;
    QString mainFolder;
    QString copyFolder;
};

TEST_F(MergeDialogTest, FormAndList) {
    makeExperiment(WesternBlot_SingleCapture, "200,");
    makePictures(kCaptured.mid(0, 2));
    MergeDialog dialog;
    EXPECT_EQ(dialog.objectName(), "MergeDialog");
    EXPECT_EQ(dialog.size(), QSize(860, 700));
    EXPECT_EQ(dialog.windowTitle(), "Dialog");
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(dialog.testAttribute(Qt::WA_TranslucentBackground));
    auto* frame = childOf<QFrame>(&dialog, "frame_Merge");
    auto* shadow = qobject_cast<QGraphicsDropShadowEffect*>(frame->graphicsEffect());
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadow->color(), QColor("#262626"));
    EXPECT_EQ(shadow->blurRadius(), 30);
    EXPECT_EQ(dialog.layout()->contentsMargins(), QMargins(30, 30, 30, 30));
    const char* p = "frame_Merge";
    expectRows(&dialog, {
                            {"label_Pic", "QLabel", p, {20, 10, 760, 400}, ""},
                            {"listWidget_Pic", "QListWidget", p, {20, 420, 760, 160}, nullptr},
                            {"pushButton_Comfirm", "QPushButton", p, {500, 590, 80, 40}, ""},
                            {"pushButton_Delete", "QPushButton", p, {600, 590, 80, 40}, ""},
                            {"pushButton_Back", "QPushButton", p, {700, 590, 80, 40}, ""},
                        });
    EXPECT_EQ(childOrder(frame), QStringList({"label_Pic", "listWidget_Pic", "pushButton_Comfirm",
                                              "pushButton_Delete", "pushButton_Back"}));
    const QStringList tabs = {"listWidget_Pic", "pushButton_Comfirm", "pushButton_Delete",
                              "pushButton_Back"};
    EXPECT_EQ(focusOrder(&dialog, tabs), tabs);
    EXPECT_EQ(list(dialog)->flow(), QListView::TopToBottom);

    open(dialog);
    QListWidget* pictures = list(dialog);
    EXPECT_EQ(pictures->iconSize(), QSize(115, 90));
    EXPECT_EQ(pictures->viewMode(), QListView::IconMode);
    EXPECT_EQ(pictures->flow(), QListView::LeftToRight);
    EXPECT_FALSE(pictures->isWrapping());
    EXPECT_EQ(pictures->spacing(), 5);
    EXPECT_EQ(pictures->selectionMode(), QAbstractItemView::MultiSelection);
    EXPECT_EQ(listed(dialog), kCaptured.mid(0, 2));
    EXPECT_EQ(pictures->item(0)->sizeHint(), QSize(146, 120));
    EXPECT_FALSE(pictures->item(0)->icon().isNull());
    EXPECT_EQ(ticked(dialog), 0);
    // The first picture is shown at its own size.
    EXPECT_EQ(childOf<QLabel>(&dialog, "label_Pic")->pixmap(Qt::ReturnByValue).size(),
              QSize(40, 30));
    EXPECT_TRUE(dialog.styleSheet().contains("rectback_en_normal.png"));
}

// Pictures a capture produced, counted from its record (and from the
// settings without one), and which names they are.
TEST(MergeOriginsTest, CountsAndNames) {
    struct Recorded {
        int mode;
        const char* exposures;
        int count;
    };
    const Recorded recorded[] = {
        {WesternBlot_ManualCapture, "100,200,300,400,", 4},  // marker and three
        {WesternBlot_SingleCapture, "100,2000,", 3},         // marker, picture, blend
        {WesternBlot_ManualCapture, "200,300,400,", 3},
        {WesternBlot_SingleCapture, "2000,", 1},
        {WesternBlot_SingleCapture, "", 0},
    };
    for (const Recorded& r : recorded)
        EXPECT_EQ(MergeOrigins::capturedCount(r.mode, r.exposures), r.count) << r.exposures;
    EXPECT_EQ(MergeOrigins::countFromSettings(WesternBlot_ManualCapture, 3, false), 4);
    EXPECT_EQ(MergeOrigins::countFromSettings(WesternBlot_ManualCapture, 3, true), 3);
    EXPECT_EQ(MergeOrigins::countFromSettings(WesternBlot_SingleCapture, 3, false), 3);
    EXPECT_EQ(MergeOrigins::countFromSettings(WesternBlot_SingleCapture, 3, true), 1);
    const QStringList names = {"00_00_01_000.tif", "23-10-00-000.tif", "23-10-05-000.tif",
                               "23-12-00-000.tif"};
    EXPECT_EQ(MergeOrigins::originNames(names, 2),
              QStringList({"23-10-00-000.tif", "23-10-05-000.tif"}));
    EXPECT_EQ(MergeOrigins::originNames(names, 9).size(), 3);
    EXPECT_DEATH(MergeOrigins::capturedCount(5, "100,"), "Unknow WesternBlot_FuncsFrameType.");
}

// A manual series of three with a marker: all four capture pictures are
// protected; a selection that holds one of them removes nothing, a merged
// picture alone goes from both folders.
TEST_F(MergeDialogTest, DeleteProtectsTheCapturesPictures) {
    makeExperiment(WesternBlot_ManualCapture, "100,200,300,400,");
    const QString merged = "10_00_00_000.tif";
    makePictures(kCaptured + QStringList{merged});
    MergeDialog dialog;
    open(dialog);
    ModalDriver driver;
    driver.answerMessageBox();
    for (const QString& name : QStringList{kCaptured.at(3), merged})
        clickItem(dialog, name);
    click(dialog, "pushButton_Delete");
    EXPECT_EQ(driver.messages(), QStringList({"Warning|Origin picture can't delete!"}));
    EXPECT_EQ(files(mainFolder).size(), 5);
    EXPECT_EQ(files(copyFolder).size(), 5);

    clickItem(dialog, kCaptured.at(3));  // untick and unselect
    click(dialog, "pushButton_Delete");
    EXPECT_EQ(files(mainFolder), kCaptured);
    EXPECT_EQ(files(copyFolder), kCaptured);
    EXPECT_EQ(listed(dialog), kCaptured);
}

// Two ticked pictures make one new picture named by the time, in both
// folders; the list shows it and every tick is cleared.
TEST_F(MergeDialogTest, MergeWritesOnePictureInBothFolders) {
    makeExperiment(WesternBlot_SingleCapture, "2000,");
    makePictures(kCaptured.mid(0, 2));
    MergeDialog dialog;
    open(dialog);
    clickItem(dialog, kCaptured.at(0));
    clickItem(dialog, kCaptured.at(1));
    EXPECT_EQ(ticked(dialog), 2);
    click(dialog, "pushButton_Comfirm");
    const QStringList after = files(mainFolder);
    ASSERT_EQ(after.size(), 3);
    const QRegularExpression mergedName("^\\d\\d_\\d\\d_\\d\\d_\\d\\d\\d\\.tif$");
    const QString name = after.filter(mergedName).value(0);
    EXPECT_FALSE(name.isEmpty());
    EXPECT_EQ(files(copyFolder), after);
    EXPECT_EQ(listed(dialog), after);
    EXPECT_EQ(ticked(dialog), 0);
    // 200 x 200 / 255 of the two grey pictures.
    EXPECT_EQ(QImage(mainFolder + name).pixelColor(0, 0), QColor(156, 156, 156));
}

// A merged picture that cannot be written whole (a full disk) leaves no
// part of itself behind, in neither folder, and the user is told.
TEST_F(MergeDialogTest, AMergeThatCannotBeWrittenLeavesNoPartOfIt) {
    makeExperiment(WesternBlot_SingleCapture, "2000,");
    makePictures(kCaptured.mid(0, 2), QSize(200, 200));
    MergeDialog dialog;
    open(dialog);
    clickItem(dialog, kCaptured.at(0));
    clickItem(dialog, kCaptured.at(1));
    ModalDriver driver;
    driver.answerMessageBox(QMessageBox::Ok);
    {
        FileSizeLimit full(8192);
        ASSERT_TRUE(full.active());
        click(dialog, "pushButton_Comfirm");
    }
    EXPECT_EQ(driver.messages().size(), 1);
    for (const QString& folder : {mainFolder, copyFolder}) {
        EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name), kCaptured.mid(0, 2))
            << folder.toStdString();
    }
}

// One or three ticks are refused; so is any merge once ten pictures are
// listed, until a merged one is deleted. Clicking an item twice unticks it
// and shows it both times.
TEST_F(MergeDialogTest, TicksAndTheTenPictureLimit) {
    makeExperiment(WesternBlot_SingleCapture, "2000,");
    QStringList merged;
    for (int i = 0; i < 9; ++i)
        merged << QStringLiteral("10_00_0%1_000.tif").arg(i);
    makePictures(QStringList{kCaptured.at(0)} + merged.mid(0, 2));
    MergeDialog dialog;
    open(dialog);
    auto* label = childOf<QLabel>(&dialog, "label_Pic");

    ModalDriver driver;
    driver.answerMessageBox().answerMessageBox().answerMessageBox();
    clickItem(dialog, merged.at(0));
    click(dialog, "pushButton_Comfirm");
    clickItem(dialog, merged.at(1));
    clickItem(dialog, kCaptured.at(0));
    click(dialog, "pushButton_Comfirm");
    EXPECT_EQ(files(mainFolder).size(), 3);

    clickItem(dialog, kCaptured.at(0));
    label->clear();
    clickItem(dialog, kCaptured.at(0));
    EXPECT_EQ(ticked(dialog), 3);
    EXPECT_FALSE(label->pixmap(Qt::ReturnByValue).isNull());
    EXPECT_EQ(driver.messages(), QStringList({"Warning|Please select 2 pictures!",
                                              "Warning|Please select 2 pictures!"}));

    makePictures(merged.mid(2));
    MergeDialog full;
    open(full);
    ASSERT_EQ(list(full)->count(), 10);
    clickItem(full, merged.at(0));
    clickItem(full, merged.at(1));
    click(full, "pushButton_Comfirm");
    EXPECT_EQ(files(mainFolder).size(), 10);
    EXPECT_EQ(driver.messages().value(2),
              "Warning|A maximum of 10 photos will be processed in each experiment. "
              "Please delete some photos!");

    click(full, "pushButton_Delete");
    ASSERT_EQ(list(full)->count(), 8);
    clickItem(full, kCaptured.at(0));
    clickItem(full, merged.at(2));
    click(full, "pushButton_Comfirm");
    EXPECT_EQ(files(mainFolder).size(), 9);
}

// The tick box answers a click like the rest of the item: one click ticks
// the picture, the next unticks it.
TEST_F(MergeDialogTest, TickBoxTogglesOncePerClick) {
    makeExperiment(WesternBlot_SingleCapture, "2000,");
    makePictures({kCaptured.at(0), kCaptured.at(1)});
    MergeDialog dialog;
    open(dialog);
    clickTickBox(dialog, kCaptured.at(1));
    EXPECT_EQ(list(dialog)->item(1)->checkState(), Qt::Checked);
    EXPECT_EQ(ticked(dialog), 1);
    clickTickBox(dialog, kCaptured.at(1));
    EXPECT_EQ(ticked(dialog), 0);
}

// A merged picture that cannot be written is told, not only logged.
TEST_F(MergeDialogTest, FailedSaveIsTold) {
    makeExperiment(WesternBlot_SingleCapture, "2000,");
    makePictures(kCaptured.mid(0, 2));
    // A file where the station's copy folder belongs.
    ASSERT_TRUE(QDir(copyFolder).removeRecursively());
    QFile blocker(copyFolder.chopped(1));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    MergeDialog dialog;
    open(dialog);
    ModalDriver driver;
    driver.answerMessageBox();
    clickItem(dialog, kCaptured.at(0));
    clickItem(dialog, kCaptured.at(1));
    click(dialog, "pushButton_Comfirm");
    ASSERT_EQ(driver.messages().size(), 1);
    EXPECT_TRUE(driver.messages().first().startsWith(
        "Warning|The merged picture could not be saved: " + copyFolder))
        << driver.messages().first().toStdString();
}

TEST_F(MergeDialogTest, APictureWhoseHeaderClaimsAHugeSizeIsToldAndNeverMerged) {
    makeExperiment(WesternBlot_SingleCapture, "2000,");
    makePictures(kCaptured.mid(0, 2));
    ASSERT_TRUE(craftedpictures::writeFile(
        mainFolder + kCaptured.at(1), craftedpictures::pictureClaiming("tif", {60000, 60000})));
    const QString told = "Warning|This picture is too large to be shown: " + kCaptured.at(1);
    ModalDriver driver;
    driver.answerMessageBox().answerMessageBox();
    MergeDialog dialog;
    open(dialog);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !driver.messages().isEmpty(); }, 5000));
    EXPECT_EQ(driver.messages(), QStringList{told});
    EXPECT_FALSE(list(dialog)->item(0)->icon().isNull());
    EXPECT_TRUE(list(dialog)->item(1)->icon().isNull());
    clickItem(dialog, kCaptured.at(0));
    clickItem(dialog, kCaptured.at(1));
    click(dialog, "pushButton_Comfirm");
    EXPECT_EQ(driver.messages(), (QStringList{told, told}));
    EXPECT_EQ(files(mainFolder), kCaptured.mid(0, 2)) << "nothing merged";
}

// Dark 16-bit pictures as the capture stores them (samples high in the
// range, the inverted chemiluminescence) are shown stretched: the one the
// page shows with the page's range, every other one over its own lowest and
// highest sample; thumbnail and big view alike.
TEST_F(MergeDialogTest, SixteenBitPicturesAreShownStretched) {
    makeExperiment(WesternBlot_SingleCapture, "2000,");
    // 40 x 30 samples from 64000 at the top left rising by 1 a pixel along
    // the rows, row after row: 64000 .. 65199.
    QImage wide(40, 30, QImage::Format_Grayscale16);
    for (int y = 0; y < wide.height(); ++y) {
        auto* row = reinterpret_cast<quint16*>(wide.scanLine(y));
        for (int x = 0; x < wide.width(); ++x)
            row[x] = static_cast<quint16>(64000 + y * wide.width() + x);
    }
    for (const QString& folder : {mainFolder, copyFolder}) {
        ASSERT_TRUE(QDir().mkpath(folder));
        for (const QString& name : kCaptured.mid(0, 2))
            ASSERT_TRUE(wide.save(folder + name, "TIF"));
    }
    ASSERT_EQ(QImage(mainFolder + kCaptured.at(0)).format(), QImage::Format_Grayscale16);
    MergeDialog dialog;
    dialog.setShownStretch(kCaptured.at(1), 64200, 64400);
    open(dialog);
    auto* label = childOf<QLabel>(&dialog, "label_Pic");
    const auto grey = [](const QImage& shown, int x, int y) { return qGray(shown.pixel(x, y)); };

    // Its own range: black at its lowest sample, white at its highest.
    QImage shown = label->pixmap(Qt::ReturnByValue).toImage();
    ASSERT_EQ(shown.size(), wide.size());
    EXPECT_EQ(grey(shown, 0, 0), 0);
    EXPECT_EQ(grey(shown, 39, 29), 255);
    EXPECT_EQ(grey(shown, 0, 15), stretchedLevel(64600, 64000, 65199) >> 8);
    const QImage thumbnail = list(dialog)->item(0)->icon().pixmap(QSize(115, 90)).toImage();
    EXPECT_EQ(grey(thumbnail, 0, 0), 0);
    EXPECT_EQ(grey(thumbnail, thumbnail.width() - 1, thumbnail.height() - 1), 255);

    // The page's range: black up to 64200, white from 64400 on.
    clickItem(dialog, kCaptured.at(1));
    shown = label->pixmap(Qt::ReturnByValue).toImage();
    EXPECT_EQ(grey(shown, 0, 5), 0);     // 64200
    EXPECT_EQ(grey(shown, 20, 7), 128);  // 64300: level 32768
    EXPECT_EQ(grey(shown, 0, 10), 255);  // 64400
    EXPECT_EQ(grey(shown, 39, 29), 255);

    // What is merged are the stored pictures, not the screen's.
    clickItem(dialog, kCaptured.at(0));
    click(dialog, "pushButton_Comfirm");
    const QStringList merged = files(mainFolder).filter(QRegularExpression("_"));
    ASSERT_EQ(merged.size(), 1);
    const QImage product = QImage(mainFolder + merged.first());
    EXPECT_EQ(product.pixelColor(0, 0), MergeDialog::mergeImages(wide, wide).pixelColor(0, 0));
}

TEST_F(MergeDialogTest, MissingFolderListsOneEmptyName) {
    makeExperiment(WesternBlot_SingleCapture, "2000,");
    MergeDialog dialog;
    open(dialog);
    EXPECT_EQ(listed(dialog), QStringList({""}));
    EXPECT_TRUE(childOf<QLabel>(&dialog, "label_Pic")->pixmap(Qt::ReturnByValue).isNull());
}

TEST(MergeImagesTest, ProductOfTwoPictures) {
    struct Pair {
        int a;
        int b;
        int expected;
    };
    std::vector<Pair> pairs = {{17, 195, 12}, {0, 255, 0}, {128, 0, 0}, {200, 200, 156}};
    for (int k = 0; k <= 255; ++k)
        pairs.push_back({255, k, k});
    QImage first(static_cast<int>(pairs.size()), 1, QImage::Format_RGB32);
    QImage second(first.size(), QImage::Format_RGB32);
    for (int x = 0; x < first.width(); ++x) {
        first.setPixel(x, 0, qRgb(pairs[x].a, pairs[x].b, pairs[x].a));
        second.setPixel(x, 0, qRgb(pairs[x].b, pairs[x].a, 255));
    }
    const QImage merged = MergeDialog::mergeImages(first, second);
    ASSERT_EQ(merged.format(), QImage::Format_RGB888);
    ASSERT_EQ(merged.size(), first.size());
    for (int x = 0; x < first.width(); ++x) {
        const QColor c = merged.pixelColor(x, 0);
        EXPECT_EQ(c.red(), pairs[x].expected) << pairs[x].a << " x " << pairs[x].b;
        EXPECT_EQ(c.green(), pairs[x].expected) << pairs[x].b << " x " << pairs[x].a;
        EXPECT_EQ(c.blue(), pairs[x].a);
        EXPECT_EQ(c.alpha(), 255);
    }

    // Where a smaller second picture has no pixel, the product is black.
    QImage white(4, 3, QImage::Format_RGB32);
    white.fill(Qt::white);
    QImage small(2, 2, QImage::Format_RGB32);
    small.fill(qRgb(90, 90, 90));
    const QImage partly = MergeDialog::mergeImages(white, small);
    EXPECT_EQ(partly.size(), QSize(4, 3));
    EXPECT_EQ(partly.pixelColor(1, 1), QColor(90, 90, 90));
    EXPECT_EQ(partly.pixelColor(2, 0), QColor(0, 0, 0));
    EXPECT_EQ(partly.pixelColor(0, 2), QColor(0, 0, 0));
}

// A picture smaller than the 760 x 400 display keeps its size; a larger one
// is fitted keeping its aspect, and display mode 1 stretches it over the
// display.
TEST_F(MergeDialogTest, DisplaySizes) {
    struct Case {
        QSize picture;
        int mode;
        QSize shown;
        bool stretched;
    };
    const Case cases[] = {{{400, 300}, 0, {400, 300}, false},
                          {{2000, 1500}, 0, {533, 400}, false},
                          {{2000, 1500}, 1, {533, 400}, true},
                          {{400, 300}, 1, {400, 300}, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        widgetsStation().setUserOption("imageShowMode", c.mode);
        makeExperiment(WesternBlot_SingleCapture, "2000,");
        makePictures({kCaptured.at(0)}, c.picture);
        MergeDialog dialog;
        open(dialog);
        auto* label = childOf<QLabel>(&dialog, "label_Pic");
        EXPECT_EQ(label->pixmap(Qt::ReturnByValue).size(), c.shown);
        EXPECT_EQ(label->hasScaledContents(), c.stretched);
        EXPECT_EQ(label->alignment(), Qt::AlignCenter);
    }
}

}  // namespace
