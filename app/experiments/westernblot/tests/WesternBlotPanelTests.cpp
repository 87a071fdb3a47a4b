// The western-blot capture panels on the page: the blot light, mode
// switches and resets, the histogram range editor, the automatic capture,
// the check of a time-accumulated series, and their forms.
#include "BlotHistogramRange.h"
#include "BlotManualCaptureFrame.h"
#include "BlotSingleCaptureFrame.h"
#include "BlotStretch.h"
#include "CapTimeSetFrame.h"
#include "FileFaults.h"
#include "ModalDriver.h"
#include "SQ_ChartFrame.h"
#include "WesternBlotCamSetFrame.h"
#include "WesternBlotPicture.h"
#include "WesternBlotStationTest.h"
#include "WesternBlot_BottomBarFrame.h"
#include "WesternBlot_FuncsFrame.h"
#include "WesternBlot_ImageFrame.h"
#include "WesternBlot_ToolsFrame.h"
#include "camera/TucsenCamCtrl.h"
#include "controller/CI_MainControl.h"
#include "database/Westblot_ExperimentDB.h"
#include "widgets/LineLabel.h"
#include "widgets/MySlider.h"

#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QTest>

#include <CamCore_control.h>

#include <cstring>
#include <typeinfo>
#include <vector>

namespace {

using WesternBlotPanelTest = WesternBlotStationTest;

BlotSingleCaptureFrame* singlePanelOf(WesternBlotFrame* page) {
    return page->funcsFrame()->singlePanel();
}
BlotManualCaptureFrame* manualPanelOf(WesternBlotFrame* page) {
    return page->funcsFrame()->manualPanel();
}

// The stretches a panel asked for.
std::shared_ptr<std::vector<BlotHistogramRange::Range>> stretchesOf(QObject* panel) {
    auto stretches = std::make_shared<std::vector<BlotHistogramRange::Range>>();
    if (auto* single = qobject_cast<BlotSingleCaptureFrame*>(panel)) {
        QObject::connect(single, &BlotSingleCaptureFrame::sig_UpdateHistoedImg, single,
                         [stretches](int low, int high) { stretches->emplace_back(low, high); });
    } else if (auto* manual = qobject_cast<BlotManualCaptureFrame*>(panel)) {
        QObject::connect(manual, &BlotManualCaptureFrame::sig_UpdateHistoedImg, manual,
                         [stretches](int low, int high) { stretches->emplace_back(low, high); });
    }
    return stretches;
}

TEST_F(WesternBlotPanelTest, LightFramesAndTheOtherPanelFollowing) {
    enterPage();  // the preview switches the light on from both panels
    lightNotes();
    darkroom().command(QStringLiteral("clear"));
    auto* singleLight = child<QPushButton>(singlePanelOf(page.get()), "pushButton_Light");
    auto* manualLight = child<QPushButton>(manualPanelOf(page.get()), "pushButton_Light");
    ASSERT_TRUE(singleLight->isChecked());
    ASSERT_TRUE(manualLight->isChecked());

    singleLight->click();
    EXPECT_FALSE(manualLight->isChecked());
    EXPECT_EQ(lightNotes(), QStringList{"blot light off"});
    manualLight->click();
    EXPECT_TRUE(singleLight->isChecked());
    EXPECT_EQ(lightNotes(), (QStringList{"blot light off", "blot light on"}));

    // The controller's shut-down timer unchecks both without a command.
    emit control()->timeoutShutDown();
    EXPECT_FALSE(singleLight->isChecked());
    EXPECT_FALSE(manualLight->isChecked());
    EXPECT_EQ(lightNotes().size(), 2);
}

TEST_F(WesternBlotPanelTest, ModeSwitchesAndResets) {
    enterPage();
    BlotSingleCaptureFrame* single = singlePanelOf(page.get());
    BlotManualCaptureFrame* manual = manualPanelOf(page.get());
    EXPECT_TRUE(single->isVisibleTo(page.get()));
    EXPECT_FALSE(manual->isVisibleTo(page.get()));

    child<QPushButton>(single, "pushButton_Setting")->click();
    child<QPushButton>(single, "pushButton_Manual")->click();
    EXPECT_EQ(camera()->curFuncFrameType, static_cast<int>(WesternBlot_ManualCapture));
    EXPECT_FALSE(single->isVisibleTo(page.get()));
    EXPECT_TRUE(manual->isVisibleTo(page.get()));
    EXPECT_FALSE(child<QPushButton>(single, "pushButton_Setting")->isChecked());

    // Back to single reloads the stored count into the manual panel.
    station().setUserOption(QStringLiteral("CapCount"), 4);
    child<QPushButton>(manual, "pushButton_Single")->click();
    EXPECT_EQ(camera()->curFuncFrameType, static_cast<int>(WesternBlot_SingleCapture));
    EXPECT_EQ(child<QSpinBox>(manual, "spinBox_CapNum")->value(), 4);
    EXPECT_TRUE(single->isVisibleTo(page.get()));

    // Leaving in manual mode returns to single; entering shows its panel and
    // the stored exposure time.
    child<QPushButton>(single, "pushButton_Manual")->click();
    page->exitExperimentFrameHandle();
    EXPECT_EQ(camera()->curFuncFrameType, static_cast<int>(WesternBlot_SingleCapture));
    setExpTime(83250);
    enterPage();
    EXPECT_TRUE(single->isVisibleTo(page.get()));
    EXPECT_FALSE(manual->isVisibleTo(page.get()));
    EXPECT_EQ(child<QLineEdit>(single, "lineEdit_Minute")->text().toInt(), 1);
    EXPECT_EQ(child<QLineEdit>(single, "lineEdit_Sec")->text().toInt(), 23);
    EXPECT_EQ(child<QLineEdit>(single, "lineEdit_Ms")->text().toInt(), 250);
    EXPECT_FALSE(child<QGroupBox>(single, "groupBox_Histogram")->isVisibleTo(single));
    EXPECT_FALSE(child<QGroupBox>(single, "groupBox_PreviewImage")->isVisibleTo(single));
}

// The histogram of a captured picture with its automatic range, then the
// fields and the sliders: every pair sent on is ordered and the picture on
// show is that stretch of the captured one.
TEST_F(WesternBlotPanelTest, HistogramRangeEditing) {
    station().setUserOption(QStringLiteral("WbMarker"), true);
    setExpTime(5000);
    enterPage();
    BlotSingleCaptureFrame* single = singlePanelOf(page.get());
    const auto stretches = stretchesOf(single);
    child<QPushButton>(single, "pushButton_Capture")->click();
    ASSERT_EQ(camera()->frameList.size(), 1);
    const BlotHistogramRange::Range automatic =
        BlotHistogramRange::autoRange(camera()->getRawHistogram(0));
    ASSERT_EQ(stretches->size(), 1u);
    EXPECT_EQ(stretches->back(), automatic);
    EXPECT_TRUE(child<QGroupBox>(single, "groupBox_Histogram")->isVisibleTo(single));
    auto* left = child<QSlider>(single, "horizontalSlider_Left");
    auto* right = child<QSlider>(single, "horizontalSlider_Right");
    auto* minimum = child<QLineEdit>(single, "lineEdit_Min");
    auto* maximum = child<QLineEdit>(single, "lineEdit_Max");
    EXPECT_EQ(left->value(), automatic.first);
    EXPECT_EQ(right->value(), automatic.second);
    EXPECT_EQ(minimum->text(), QString::number(automatic.first));
    EXPECT_EQ(maximum->text(), QString::number(automatic.second));

    const auto shows = [&](int low, int high) {
        const size_t bytes = camera()->imageBufferSize();
        std::vector<uchar> expected(camera()->frameList.at(0), camera()->frameList.at(0) + bytes);
        stretchPicture(expected.data(), bytes, low, high);
        return std::memcmp(control()->pictureBuffer, expected.data(), bytes) == 0;
    };
    EXPECT_TRUE(shows(automatic.first, automatic.second));

    // Crossed sliders send the ascending pair and show it so.
    right->setValue(1000);
    left->setValue(2000);
    EXPECT_EQ(stretches->back(), BlotHistogramRange::Range(1000, 2000));
    EXPECT_EQ(minimum->text(), QStringLiteral("1000"));
    EXPECT_EQ(maximum->text(), QStringLiteral("2000"));
    EXPECT_TRUE(shows(1000, 2000));

    // Typed numbers: above 65535 and crossed.
    struct Case {
        const char* label;
        const char* typedMin;
        const char* typedMax;
        bool editMin;
        int left, right;
        const char* shownMin;
        const char* shownMax;
    };
    const Case cases[] = {
        {"a minimum above all levels", "70000", "1100", true, 65535, 1100, "1100", "65535"},
        {"a minimum above the maximum", "3000", "1100", true, 3000, 1100, "1100", "3000"},
        {"a maximum below the minimum", "3000", "1100", false, 3000, 1100, "1100", "3000"},
        {"a maximum above all levels", "100", "99999", false, 100, 65535, "100", "65535"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        left->setValue(500);
        right->setValue(600);
        minimum->setText(QString::fromLatin1(c.typedMin));
        maximum->setText(QString::fromLatin1(c.typedMax));
        QLineEdit* edited = c.editMin ? minimum : maximum;
        emit edited->editingFinished();
        EXPECT_EQ(left->value(), c.left);
        EXPECT_EQ(right->value(), c.right);
        EXPECT_EQ(minimum->text(), QLatin1String(c.shownMin));
        EXPECT_EQ(maximum->text(), QLatin1String(c.shownMax));
        const BlotHistogramRange::Range sent = stretches->back();
        EXPECT_LE(sent.first, sent.second);
        EXPECT_TRUE(shows(sent.first, sent.second));
    }

    // Back to the automatic range.
    child<QPushButton>(single, "pushButton_Auto")->click();
    EXPECT_EQ(stretches->back(), automatic);
    EXPECT_EQ(left->value(), automatic.first);
    EXPECT_TRUE(shows(automatic.first, automatic.second));
}

// Estimate and capture with one button: the light goes off once, the
// threshold picture is shown and deleted, and the capture follows with the
// estimated time once the estimate's dialog is gone.
TEST_F(WesternBlotPanelTest, AutomaticCaptureAfterTheEstimate) {
    station().setUserOption(QStringLiteral("WbMarker"), true);
    // A sensor large enough for the estimate to find the bands.
    camsim_reset("width=1024,height=1024,time_scale=0,noise=0,scene=bands");
    ASSERT_TRUE(control()->initTucsenCam());
    enterPage();
    lightNotes();
    darkroom().command(QStringLiteral("clear"));
    BlotSingleCaptureFrame* single = singlePanelOf(page.get());
    QSignalSpy captures(page->funcsFrame(), &WesternBlot_FuncsFrame::capStart);
    child<QPushButton>(single, "pushButton_AutoCap")->click();
    EXPECT_FALSE(QFile::exists(station().filePath(QStringLiteral("threshold.tif"))));
    EXPECT_EQ(captures.count(), 0);  // posted, not run inside the estimate
    ASSERT_TRUE(QTest::qWaitFor([&] { return captures.count() == 1; }, 5000));
    EXPECT_EQ(camera()->frameList.size(), 1);
    control()->userOpt.loadUserOpt(UserOpt_ExpTime);
    ASSERT_NE(image()->currentExperiment(), nullptr);
    const auto row =
        control()->westblotExperimentDB->loadByName(image()->currentExperiment()->name);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->exposureTime, QString::number(control()->userOpt.ExpTime) + ",");
    EXPECT_EQ(lightNotes(), (QStringList{"blot light off", "blot light off"}));
}

// A time-accumulated series whose times do not rise is refused with a box;
// nothing is captured.
TEST_F(WesternBlotPanelTest, TimeAccumulatedSeriesThatDoesNotRiseIsRefused) {
    station().setUserOption(QStringLiteral("WbMarker"), true);
    enterPage();
    QSettings cam(station().filePath(QStringLiteral("Ini/camOption.ini")), QSettings::IniFormat);
    cam.setValue(QStringLiteral("TucsenCurrentCamSet/TimeAcc"), true);
    cam.sync();
    setManualSeries({{"0", "05", "000"}, {"0", "05", "000"}});
    child<QPushButton>(singlePanelOf(page.get()), "pushButton_Manual")->click();
    child<QSpinBox>(manualPanelOf(page.get()), "spinBox_CapNum")->setValue(2);
    QSignalSpy captures(page->funcsFrame(), &WesternBlot_FuncsFrame::capStart);
    {
        ModalDriver driver;
        driver.answerMessageBox(QMessageBox::Ok);
        child<QPushButton>(manualPanelOf(page.get()), "pushButton_Capture")->click();
        ASSERT_EQ(driver.messages().size(), 1);
        EXPECT_TRUE(driver.messages().first().startsWith(QStringLiteral("Tips|")));
    }
    EXPECT_EQ(captures.count(), 0);
    EXPECT_EQ(image()->currentExperiment(), nullptr);

    setManualSeries({{"0", "00", "200"}, {"0", "00", "500"}});
    child<QPushButton>(manualPanelOf(page.get()), "pushButton_Capture")->click();
    EXPECT_EQ(captures.count(), 1);
    EXPECT_EQ(camera()->frameList.size(), 2);
    cam.setValue(QStringLiteral("TucsenCurrentCamSet/TimeAcc"), false);
    cam.sync();
}

// A manual series of three with the marker: the count goes to the settings
// before the exposure dialog opens; four pictures page from "4 / 4" back to
// "1 / 4".
TEST_F(WesternBlotPanelTest, ManualSeriesOfThreeWithMarker) {
    station().setUserOption(QStringLiteral("WbMarker"), false);
    setManualSeries({{"0", "00", "100"}, {"0", "00", "200"}, {"0", "00", "300"}});
    enterPage();
    child<QPushButton>(singlePanelOf(page.get()), "pushButton_Manual")->click();
    BlotManualCaptureFrame* manual = manualPanelOf(page.get());
    child<QSpinBox>(manual, "spinBox_CapNum")->setValue(3);
    {
        ModalDriver driver;
        driver.onDialog([](QDialog* dialog) {
            EXPECT_EQ(dialog->objectName(), QStringLiteral("ExpTimeSetDialog"));
            dialog->reject();
        });
        child<QPushButton>(manual, "pushButton_SetExpTime")->click();
        EXPECT_EQ(driver.pendingSteps(), 0);
    }
    control()->userOpt.loadUserOpt(UserOpt_CapCount);
    EXPECT_EQ(control()->userOpt.CapCount, 3);

    child<QPushButton>(manual, "pushButton_Capture")->click();
    EXPECT_EQ(position(), QStringLiteral("4 / 4"));
    auto* bar = child<QScrollBar>(image(), "horizontalScrollBar");
    EXPECT_EQ(bar->maximum(), 3);
    bar->setValue(0);
    EXPECT_EQ(position(), QStringLiteral("1 / 4"));
    EXPECT_TRUE(child<QGroupBox>(manual, "groupBox_Histogram")->isVisibleTo(manual));
}

// Capture takes the count on show, whatever the settings held before; a
// picture of that series without an exposure time is told and nothing is
// captured.
TEST_F(WesternBlotPanelTest, ManualSeriesTakesTheCountOnShow) {
    station().setUserOption(QStringLiteral("WbMarker"), true);
    enterPage();
    child<QPushButton>(singlePanelOf(page.get()), "pushButton_Manual")->click();
    BlotManualCaptureFrame* manual = manualPanelOf(page.get());
    struct Case {
        const char* label;
        QList<QStringList> stored;  // the settings' series, its count with it
        QStringList third;          // ExpTime_3 when the stored series is shorter
        int shown;
        int pictures;  // captured; 0: refused with the message below
        const char* told;
    };
    const Case cases[] = {
        {"fewer shown than stored",
         {{"0", "0", "100"}, {"0", "0", "200"}, {"0", "0", "300"}},
         {},
         2,
         2,
         nullptr},
        {"more shown than stored",
         {{"0", "0", "100"}, {"0", "0", "200"}},
         {"0", "0", "300"},
         3,
         3,
         nullptr},
        {"a shown picture never set",
         {{"0", "0", "100"}, {"0", "0", "200"}},
         {},
         3,
         0,
         "Tips|Picture 3 of the series has no exposure time. Set the exposure times of all 3 "
         "pictures before capturing."},
        {"a shown picture of 0 ms",
         {{"0", "0", "100"}, {"0", "0", "0"}},
         {},
         2,
         0,
         "Tips|Picture 2 of the series has no exposure time. Set the exposure times of all 2 "
         "pictures before capturing."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        camera()->clearFrameList();
        setManualSeries(c.stored);
        if (c.stored.size() < 3) {
            control()->userOpt.ExpTime_3 = c.third;
            ASSERT_TRUE(control()->userOpt.saveUserOpt(UserOpt_ExpTime_3));
        }
        child<QSpinBox>(manual, "spinBox_CapNum")->setValue(c.shown);
        QSignalSpy captures(page->funcsFrame(), &WesternBlot_FuncsFrame::capStart);
        ModalDriver driver;
        if (c.told != nullptr) {
            driver.answerMessageBox(QMessageBox::Ok);
        }
        child<QPushButton>(manual, "pushButton_Capture")->click();
        control()->userOpt.loadUserOpt(UserOpt_CapCount);
        EXPECT_EQ(control()->userOpt.CapCount, c.shown);
        if (c.told == nullptr) {
            EXPECT_TRUE(driver.messages().isEmpty());
            EXPECT_EQ(captures.count(), 1);
            EXPECT_EQ(camera()->frameList.size(), c.pictures);
            ASSERT_NE(image()->currentExperiment(), nullptr);
            const auto row =
                control()->westblotExperimentDB->loadByName(image()->currentExperiment()->name);
            ASSERT_TRUE(row);
            EXPECT_EQ(row->exposureTime.split(',', Qt::SkipEmptyParts).size(), c.pictures);
        } else {
            EXPECT_EQ(driver.messages(), QStringList{QString::fromUtf8(c.told)});
            EXPECT_EQ(captures.count(), 0);
            EXPECT_TRUE(camera()->frameList.isEmpty());
        }
    }

    // The same in the Chinese interface (the last series has a 0 ms picture).
    control()->changeLanguage(0);
    QCoreApplication::sendPostedEvents();
    {
        ModalDriver driver;
        driver.answerMessageBox(QMessageBox::Ok);
        child<QPushButton>(manual, "pushButton_Capture")->click();
        EXPECT_EQ(driver.messages(), QStringList{QString::fromUtf8(
                                         "提示|第 2 张照片没有曝光时间。请在拍摄前设置全部 2 "
                                         "张照片的曝光时间。")});
    }
    control()->changeLanguage(1);
    QCoreApplication::sendPostedEvents();
}

// The settings column: opened by either panel's toggle with the capture
// mode's groups; its Save asks for the preview, which restarts only when
// it is not running. Merge opens the merge dialog over the capture.
TEST_F(WesternBlotPanelTest, SettingsColumnAndMerge) {
    station().setUserOption(QStringLiteral("WbMarker"), true);
    setExpTime(5000);
    enterPage();
    WesternBlot_ToolsFrame* tools = page->toolsFrame();
    BlotSingleCaptureFrame* single = singlePanelOf(page.get());
    BlotManualCaptureFrame* manual = manualPanelOf(page.get());
    auto* modeGroup = child<QGroupBox>(tools, "groupBox_CaptureMode");
    EXPECT_FALSE(tools->isVisibleTo(page.get()));
    child<QPushButton>(single, "pushButton_Setting")->click();
    EXPECT_TRUE(tools->isVisibleTo(page.get()));
    EXPECT_FALSE(modeGroup->isVisibleTo(tools));
    child<QPushButton>(single, "pushButton_Setting")->click();
    EXPECT_FALSE(tools->isVisibleTo(page.get()));
    child<QPushButton>(single, "pushButton_Manual")->click();
    child<QPushButton>(manual, "pushButton_Setting")->click();
    EXPECT_TRUE(tools->isVisibleTo(page.get()));
    EXPECT_TRUE(modeGroup->isVisibleTo(tools));

    QSignalSpy previewLabel(image(), &WesternBlot_ImageFrame::updatePreviewLabel);
    {
        ModalDriver driver;
        driver.answerMessageBox(QMessageBox::Ok);
        child<QPushButton>(tools, "pushButton_Save")->click();
        EXPECT_EQ(driver.messages(),
                  QStringList{QStringLiteral("Tips|Camera parameter save success.")});
    }
    EXPECT_EQ(previewLabel.count(), 0);  // it was running

    // A capture stops the preview; Save then starts it again.
    child<QPushButton>(manual, "pushButton_Single")->click();
    child<QPushButton>(single, "pushButton_Capture")->click();
    ASSERT_EQ(camera()->frameList.size(), 1);
    EXPECT_FALSE(previewLabel.isEmpty());
    EXPECT_FALSE(previewLabel.last().first().toBool());
    EXPECT_TRUE(child<QPushButton>(page->bottomBar(), "pushButton_Merge")->isEnabled());
    {
        ModalDriver driver;
        driver.onDialog([](QDialog* dialog) {
            EXPECT_EQ(dialog->objectName(), QStringLiteral("MergeDialog"));
            dialog->reject();
        });
        child<QPushButton>(page->bottomBar(), "pushButton_Merge")->click();
        EXPECT_EQ(driver.pendingSteps(), 0);
    }
    child<QPushButton>(single, "pushButton_Setting")->click();
    {
        ModalDriver driver;
        driver.answerMessageBox(QMessageBox::Ok);
        child<QPushButton>(tools, "pushButton_Save")->click();
        EXPECT_EQ(driver.pendingSteps(), 0);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return previewLabel.last().first().toBool(); }, 5000));
    EXPECT_FALSE(child<QPushButton>(page->bottomBar(), "pushButton_Merge")->isEnabled());
}

// The merge dialog shows the picture on show with the page's range, as the
// picture area does.
TEST_F(WesternBlotPanelTest, MergeShowsThePictureWithThePagesRange) {
    station().setUserOption(QStringLiteral("WbMarker"), true);
    setExpTime(2000);
    enterPage();
    BlotSingleCaptureFrame* single = singlePanelOf(page.get());
    child<QPushButton>(single, "pushButton_Capture")->click();
    ASSERT_EQ(camera()->frameList.size(), 1);
    const BlotHistogramRange::Range automatic =
        BlotHistogramRange::autoRange(camera()->getRawHistogram(0));
    const int low = automatic.first + (automatic.second - automatic.first) / 4;
    const int high = automatic.second - (automatic.second - automatic.first) / 4;
    child<QSlider>(single, "horizontalSlider_Right")->setValue(high);
    child<QSlider>(single, "horizontalSlider_Left")->setValue(low);
    const QString folder = image()->currentExperiment()->picSavedPath;
    const QStringList stored = QDir(folder).entryList({QStringLiteral("*.tif")}, QDir::Files);
    ASSERT_EQ(stored.size(), 1);
    const QImage expected = stretchedForScreen(QImage(folder + stored.first()), low, high);
    ASSERT_EQ(expected.format(), QImage::Format_Grayscale8);
    QImage shown;
    ModalDriver driver;
    driver.onDialog([&shown](QDialog* dialog) {
        shown = dialog->findChild<QLabel*>(QStringLiteral("label_Pic"))
                    ->pixmap(Qt::ReturnByValue)
                    .toImage();
        dialog->reject();
    });
    child<QPushButton>(page->bottomBar(), "pushButton_Merge")->click();
    ASSERT_EQ(shown.size(), expected.size());
    EXPECT_EQ(shown.convertToFormat(QImage::Format_Grayscale8), expected);
}

// Camera settings that cannot be written are not confirmed: a warning, the
// stored set back in the controls, the preview not restarted.
TEST_F(WesternBlotPanelTest, CameraSettingsThatCannotBeWrittenAreNotConfirmed) {
    enterPage();
    WesternBlot_ToolsFrame* tools = page->toolsFrame();
    child<QPushButton>(singlePanelOf(page.get()), "pushButton_Setting")->click();
    auto* exposure = child<QSpinBox>(tools, "spinBox_ExposurePre");
    const int stored = exposure->value();
    exposure->setValue(stored + 7);
    const QString ini = station().filePath(QStringLiteral("Ini/camOption.ini"));
    if (!makeUnwritable(ini)) {
        makeWritable(ini);
        GTEST_SKIP() << "this file system cannot make a file unwritable";
    }
    auto* settings = tools->findChild<WesternBlotCamSetFrame*>();
    ASSERT_NE(settings, nullptr);
    QSignalSpy previews(settings, &WesternBlotCamSetFrame::sig_PreviewStart);
    ModalDriver driver;
    driver.answerMessageBox(QMessageBox::Ok);
    child<QPushButton>(tools, "pushButton_Save")->click();
    makeWritable(ini);
    EXPECT_EQ(
        driver.messages(),
        QStringList{QStringLiteral("Tips|Save failed, the settings file cannot be written!")});
    EXPECT_EQ(exposure->value(), stored);
    EXPECT_EQ(QSettings(ini, QSettings::IniFormat).value("TucsenCurrentCamSet/ExposurePre").toInt(),
              stored);
    EXPECT_EQ(previews.count(), 0);
}

// The forms: classes (the promoted ones too), parents, places, the two
// boxes sharing a place, tab order and the range fields a language change
// empties.
TEST_F(WesternBlotPanelTest, Forms) {
    BlotSingleCaptureFrame* single = singlePanelOf(page.get());
    BlotManualCaptureFrame* manual = manualPanelOf(page.get());
    struct Row {
        QWidget* form;
        const char* name;
        const std::type_info& type;
        const char* parent;
        QRect geometry;
    };
    const Row rows[] = {
        {single,
         "frame_CapTimeSet",
         typeid(CapTimeSetFrame),
         "groupBox_ManualMode",
         {10, 20, 198, 100}},
        {single, "frame_Histo", typeid(SQ_ChartFrame), "groupBox_Histogram", {10, 20, 190, 70}},
        {single, "label_Line", typeid(LineLabel), "groupBox_Histogram", {20, 20, 170, 70}},
        {single,
         "horizontalSlider_Left",
         typeid(MySlider),
         "groupBox_Histogram",
         {10, 110, 190, 30}},
        {single,
         "horizontalSlider_Right",
         typeid(MySlider),
         "groupBox_Histogram",
         {10, 140, 190, 30}},
        {single, "groupBox_Histogram", typeid(QGroupBox), "frame_SingleUp", {0, 380, 210, 220}},
        {single, "groupBox_PreviewImage", typeid(QGroupBox), "frame_SingleUp", {0, 380, 210, 170}},
        {single, "pushButton_AutoCap", typeid(QPushButton), "groupBox_AutoMode", {10, 20, 190, 50}},
        {single, "label_WaterLight", typeid(QLabel), "groupBox_AutoMode", {11, 21, 188, 48}},
        {single, "pushButton_Light", typeid(QPushButton), "frame_SingleDown", {0, 0, 60, 60}},
        {manual, "frame_Histo", typeid(SQ_ChartFrame), "groupBox_Histogram", {10, 20, 190, 70}},
        {manual,
         "horizontalSlider_Left",
         typeid(QSlider),
         "groupBox_Histogram",
         {10, 110, 190, 30}},
        {manual, "spinBox_CapNum", typeid(QSpinBox), "groupBox_CapSet", {110, 20, 90, 30}},
        {manual,
         "pushButton_SetExpTime",
         typeid(QPushButton),
         "groupBox_CapSet",
         {125, 60, 60, 60}},
        {manual, "groupBox_Capture", typeid(QGroupBox), "frame_ManualUp", {0, 240, 210, 80}},
        {manual, "pushButton_Single", typeid(QPushButton), "frame_ManualDown", {150, 0, 60, 60}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QWidget* widget = child<QWidget>(row.form, row.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(typeid(*widget) == row.type);
        EXPECT_EQ(widget->parentWidget()->objectName(), QLatin1String(row.parent));
        EXPECT_EQ(widget->geometry(), row.geometry);
    }
    // The later widget of a shared place lies above the earlier one.
    QWidget* up = child<QWidget>(single, "frame_SingleUp");
    const QObjectList order = up->children();
    EXPECT_LT(order.indexOf(child<QWidget>(single, "groupBox_Histogram")),
              order.indexOf(child<QWidget>(single, "groupBox_PreviewImage")));
    EXPECT_EQ(child<QSpinBox>(manual, "spinBox_CapNum")->minimum(), 2);
    EXPECT_EQ(child<QSpinBox>(manual, "spinBox_CapNum")->maximum(), 10);
    EXPECT_EQ(child<QLabel>(single, "label_GrayMax")->text(), QStringLiteral("65535"));

    const QStringList singleTabs = {
        "pushButton_Preview",     "pushButton_Setting", "pushButton_AutoTime",
        "pushButton_Capture",     "pushButton_AutoCap", "horizontalSlider_Left",
        "horizontalSlider_Right", "lineEdit_Min",       "lineEdit_Max",
        "pushButton_Auto",        "pushButton_Light",   "pushButton_Manual"};
    for (int i = 0; i + 1 < singleTabs.size(); ++i) {
        QWidget* from = child<QWidget>(single, singleTabs.at(i).toLatin1().constData());
        EXPECT_EQ(from->nextInFocusChain()->objectName(), singleTabs.at(i + 1)) << i;
    }

    for (QWidget* panel : {static_cast<QWidget*>(single), static_cast<QWidget*>(manual)}) {
        child<QLineEdit>(panel, "lineEdit_Min")->setText(QStringLiteral("12"));
        child<QLineEdit>(panel, "lineEdit_Max")->setText(QStringLiteral("34"));
        QEvent change(QEvent::LanguageChange);
        QApplication::sendEvent(panel, &change);
        EXPECT_TRUE(child<QLineEdit>(panel, "lineEdit_Min")->text().isEmpty());
        EXPECT_TRUE(child<QLineEdit>(panel, "lineEdit_Max")->text().isEmpty());
    }

    // Chinese texts and the Chinese sheet's pictures.
    control()->changeLanguage(0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(child<QLabel>(single, "label_CurMode")->text(), QString::fromUtf8("单次拍摄"));
    EXPECT_EQ(child<QLabel>(manual, "label_CurMode")->text(), QString::fromUtf8("手动拍摄"));
    EXPECT_EQ(child<QGroupBox>(single, "groupBox_PreviewImage")->title(),
              QString::fromUtf8("预览图像"));
    EXPECT_TRUE(page->styleSheet().contains(QStringLiteral("autocap_normal.png")));
    control()->changeLanguage(1);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(child<QLabel>(single, "label_CurMode")->text(), QStringLiteral("Blot Single"));
    EXPECT_TRUE(page->styleSheet().contains(QStringLiteral("autocap_normal_en.png")));
}

// The largest range value, 65535, reads in full in the histogram's value
// label and in both range fields of each panel, in the page's fonts.
TEST_F(WesternBlotPanelTest, LargestRangeValueFitsItsFields) {
    const QString largest = QStringLiteral("65535");
    for (QWidget* panel : {static_cast<QWidget*>(singlePanelOf(page.get())),
                           static_cast<QWidget*>(manualPanelOf(page.get()))}) {
        SCOPED_TRACE(panel->objectName().toStdString());
        auto* label = child<QLabel>(panel, "label_GrayMax");
        label->ensurePolished();
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(largest),
                  label->contentsRect().width());
        for (const char* name : {"lineEdit_Min", "lineEdit_Max"}) {
            SCOPED_TRACE(name);
            auto* field = child<QLineEdit>(panel, name);
            field->ensurePolished();
            // The field's frame and the edit's own margin of 2 pixels a side.
            const int frame =
                field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, field);
            EXPECT_LE(QFontMetrics(field->font()).horizontalAdvance(largest),
                      field->contentsRect().width() - 2 * frame - 4);
        }
    }
}

}  // namespace
