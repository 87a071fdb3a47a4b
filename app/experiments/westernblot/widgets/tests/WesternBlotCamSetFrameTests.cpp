// The cooled camera's settings column over the simulated camera: its form,
// the hidden groups and the capture-mode group by mode, the gain range from
// the camera (and stored values kept when the camera gives none), the live
// preview settings, Save and Reset with their boxes and the preview request.
#include "CamCore_control.h"
#include "ModalDriver.h"
#include "QtPrinters.h"
#include "WesternBlotCamSetFrame.h"
#include "WidgetsTestSupport.h"
#include "camera/TucsenCamCtrl.h"
#include "controller/CI_MainControl.h"
#include "widgets/MySlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace {

struct SixValues {
    int resolution;
    int exposurePre;
    int gainPre;
    int gainCap;
    bool timeAcc;
    bool inteAcc;
    bool operator==(const SixValues& o) const {
        return resolution == o.resolution && exposurePre == o.exposurePre && gainPre == o.gainPre &&
               gainCap == o.gainCap && timeAcc == o.timeAcc && inteAcc == o.inteAcc;
    }
};

void PrintTo(const SixValues& v, std::ostream* os) {
    *os << "{" << v.resolution << ", " << v.exposurePre << ", " << v.gainPre << ", " << v.gainCap
        << ", " << v.timeAcc << ", " << v.inteAcc << "}";
}

class WesternBlotCamSetFrameTest : public testing::Test {
  protected:
    void SetUp() override {
        widgetsController();
        camsim_reset(nullptr);
    }
    void TearDown() override { camsim_reset(nullptr); }

    static void startCamera() {
        camsim_reset("width=64,height=32,time_scale=0");
        TucsenCamCtrl* ctrl = TucsenCamCtrl::getInstance();
        ASSERT_EQ(ctrl->initDevice("./"), 0);
        ASSERT_EQ(ctrl->deviceCount(), 1);
        ctrl->deviceName = QByteArray(ctrl->deviceNameAt(0));
    }
    static std::string journal() {
        std::string text(camsim_journal(nullptr, 0) + 1, '\0');
        camsim_journal(&text[0], static_cast<int>(text.size()));
        text.resize(text.size() - 1);
        return text;
    }
    static QString iniPath() { return widgetsStation().filePath("Ini/camOption.ini"); }
    static void storeSet(const char* group, const SixValues& v, int blackLevel = 0) {
        QSettings s(iniPath(), QSettings::IniFormat);
        s.beginGroup(QLatin1String(group));
        s.setValue("Resolution", v.resolution);
        s.setValue("ExposurePre", v.exposurePre);
        s.setValue("GainPre", v.gainPre);
        s.setValue("GainCap", v.gainCap);
        s.setValue("TimeAcc", v.timeAcc);
        s.setValue("InteAcc", v.inteAcc);
        s.setValue("BlackLevel", blackLevel);
    }
    static SixValues storedSet(const char* group) {
        QSettings s(iniPath(), QSettings::IniFormat);
        s.beginGroup(QLatin1String(group));
        return {s.value("Resolution").toInt(), s.value("ExposurePre").toInt(),
                s.value("GainPre").toInt(),    s.value("GainCap").toInt(),
                s.value("TimeAcc").toBool(),   s.value("InteAcc").toBool()};
    }
    static int storedBlackLevel() {
        QSettings s(iniPath(), QSettings::IniFormat);
        return s.value("TucsenCurrentCamSet/BlackLevel").toInt();
    }
    static SixValues shown(WesternBlotCamSetFrame& frame) {
        return {childOf<QComboBox>(&frame, "comboBox_BinningMode")->currentIndex(),
                childOf<QSpinBox>(&frame, "spinBox_ExposurePre")->value(),
                childOf<QSpinBox>(&frame, "spinBox_GainPre")->value(),
                childOf<QSpinBox>(&frame, "spinBox_GainCap")->value(),
                childOf<QCheckBox>(&frame, "checkBox_TimeAcc")->isChecked(),
                childOf<QCheckBox>(&frame, "checkBox_IntegralAcc")->isChecked()};
    }
};

TEST_F(WesternBlotCamSetFrameTest, Form) {
    WesternBlotCamSetFrame frame;
    EXPECT_EQ(frame.objectName(), "WesternBlotCamSetFrame");
    EXPECT_EQ(frame.size(), QSize(200, 643));
    EXPECT_EQ(frame.windowTitle(), "Frame");
    const char* f = "WesternBlotCamSetFrame";
    expectRows(
        &frame,
        {
            {"groupBox_BlackLevel", "QGroupBox", f, {2, 550, 196, 50}, "Black Level"},
            {"spinBox_BlackLevel", "QSpinBox", "groupBox_BlackLevel", {18, 20, 120, 20}, nullptr},
            {"groupBox_Gamma", "QGroupBox", f, {2, 550, 196, 50}, "Gamma"},
            {"spinBox_Gamma", "QSpinBox", "groupBox_Gamma", {18, 20, 120, 20}, nullptr},
            {"groupBox_CaptureMode", "QGroupBox", f, {2, 330, 196, 90}, "Capture Mode"},
            {"checkBox_TimeAcc",
             "QCheckBox",
             "groupBox_CaptureMode",
             {18, 20, 160, 30},
             "TimeAccumulate"},
            {"checkBox_IntegralAcc",
             "QCheckBox",
             "groupBox_CaptureMode",
             {18, 50, 160, 30},
             "IntegralAccumulate"},
            {"groupBox_Contrast", "QGroupBox", f, {2, 550, 196, 50}, "Contrast"},
            {"spinBox_Contrast", "QSpinBox", "groupBox_Contrast", {18, 20, 120, 20}, nullptr},
            {"groupBox_FrameRate", "QGroupBox", f, {2, 560, 196, 40}, "Frame Rate"},
            {"label_FrameRate", "QLabel", "groupBox_FrameRate", {3, 15, 44, 20}, "Mode:"},
            {"comboBox_FrameRate", "QComboBox", "groupBox_FrameRate", {48, 15, 135, 20}, nullptr},
            {"groupBox_Exposure", "QGroupBox", f, {2, 80, 196, 100}, "Exposure_Preview"},
            {"spinBox_ExposurePre", "QSpinBox", "groupBox_Exposure", {18, 55, 120, 30}, nullptr},
            {"horizontalSlider_ExposurePre",
             "QSlider",
             "groupBox_Exposure",
             {18, 20, 160, 30},
             nullptr},
            {"label_Ms", "QLabel", "groupBox_Exposure", {148, 55, 32, 30}, "ms"},
            {"groupBox_BitsDepth", "QGroupBox", f, {2, 560, 196, 40}, "Bits Depth"},
            {"label_BitsDepth", "QLabel", "groupBox_BitsDepth", {3, 15, 44, 20}, "Mode:"},
            {"comboBox_BitsDepth", "QComboBox", "groupBox_BitsDepth", {48, 15, 135, 20}, nullptr},
            {"groupBox_Binning", "QGroupBox", f, {2, 10, 196, 60}, "Binning"},
            {"label_Binning", "QLabel", "groupBox_Binning", {13, 20, 55, 30}, "Mode:"},
            {"comboBox_BinningMode", "QComboBox", "groupBox_Binning", {68, 20, 115, 30}, nullptr},
            {"groupBox_GainPre", "QGroupBox", f, {2, 190, 196, 60}, "Gain_Preview"},
            {"spinBox_GainPre", "QSpinBox", "groupBox_GainPre", {18, 20, 120, 30}, nullptr},
            {"groupBox_GainCap", "QGroupBox", f, {2, 260, 196, 60}, "Gain_Capture"},
            {"spinBox_GainCap", "QSpinBox", "groupBox_GainCap", {18, 20, 120, 30}, nullptr},
            {"groupBox_Histogram", "QGroupBox", f, {2, 560, 196, 40}, "Histogram"},
            {"comboBox_Histogram", "QComboBox", "groupBox_Histogram", {48, 15, 135, 20}, nullptr},
            {"label_Histogram", "QLabel", "groupBox_Histogram", {3, 15, 44, 20}, "Mode:"},
            {"groupBox_Rotate", "QGroupBox", f, {2, 560, 196, 40}, "Rotate"},
            {"comboBox_Rotate", "QComboBox", "groupBox_Rotate", {48, 15, 135, 20}, nullptr},
            {"label_Rotate", "QLabel", "groupBox_Rotate", {3, 15, 44, 20}, "Mode:"},
            {"groupBox_CurrentPara", "QGroupBox", f, {2, 430, 196, 70}, "parameter"},
            {"pushButton_Reset", "QPushButton", "groupBox_CurrentPara", {28, 20, 60, 40}, ""},
            {"pushButton_Save", "QPushButton", "groupBox_CurrentPara", {108, 20, 60, 40}, ""},
        });
    // MySlider has no meta-object of its own: the promotion shows in its type.
    EXPECT_NE(dynamic_cast<MySlider*>(childOf<QSlider>(&frame, "horizontalSlider_ExposurePre")),
              nullptr);
    // Stacking order of the overlapping boxes at the panel's foot: creation order.
    EXPECT_EQ(childOrder(&frame),
              QStringList({"groupBox_BlackLevel", "groupBox_Gamma", "groupBox_CaptureMode",
                           "groupBox_Contrast", "groupBox_FrameRate", "groupBox_Exposure",
                           "groupBox_BitsDepth", "groupBox_Binning", "groupBox_GainPre",
                           "groupBox_GainCap", "groupBox_Histogram", "groupBox_Rotate",
                           "groupBox_CurrentPara"}));
    const QStringList tabs = {"comboBox_BinningMode", "horizontalSlider_ExposurePre",
                              "spinBox_ExposurePre",  "spinBox_GainPre",
                              "spinBox_GainCap",      "checkBox_TimeAcc",
                              "checkBox_IntegralAcc", "pushButton_Reset",
                              "pushButton_Save",      "spinBox_BlackLevel",
                              "comboBox_BitsDepth",   "comboBox_FrameRate",
                              "comboBox_Histogram",   "comboBox_Rotate",
                              "spinBox_Contrast",     "spinBox_Gamma"};
    EXPECT_EQ(focusOrder(&frame, tabs), tabs);

    struct Combo {
        const char* name;
        QStringList items;
    };
    const Combo combos[] = {
        {"comboBox_FrameRate",
         {"Higher Rate", "High Rate", "Normal Rate", "Low Rate", "Lower Rate"}},
        {"comboBox_BitsDepth", {"8 Bits", "16 Bits"}},
        {"comboBox_BinningMode", {"1x1", "2x2", "4x4"}},
        {"comboBox_Histogram", {"No Stretch", "Auto Stretch", "Manual Stretch"}},
        {"comboBox_Rotate", {"No Rotate", "Mirror H", "Mirror V", "180 Degree"}},
    };
    for (const Combo& c : combos) {
        auto* box = childOf<QComboBox>(&frame, c.name);
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        EXPECT_EQ(items, c.items) << c.name;
        EXPECT_EQ(box->currentIndex(), 0) << c.name;
    }
    EXPECT_EQ(childOf<QComboBox>(&frame, "comboBox_BinningMode")->styleSheet(),
              "QComboBox\n{\nfont-family:Times New Roman;\nfont-size:18px;\n}");
    auto* slider = childOf<QSlider>(&frame, "horizontalSlider_ExposurePre");
    EXPECT_EQ(slider->orientation(), Qt::Horizontal);
    EXPECT_EQ(slider->maximum(), 2000);
    EXPECT_EQ(slider->singleStep(), 100);
    EXPECT_EQ(slider->pageStep(), 100);
    EXPECT_EQ(childOf<QSpinBox>(&frame, "spinBox_ExposurePre")->maximum(), 2000);
    EXPECT_EQ(childOf<QSpinBox>(&frame, "spinBox_BlackLevel")->maximum(), 99999);
    EXPECT_EQ(childOf<QSpinBox>(&frame, "spinBox_GainPre")->alignment(), Qt::AlignCenter);
    EXPECT_FALSE(childOf<QCheckBox>(&frame, "checkBox_TimeAcc")->isChecked());
}

// The seven unused groups stay hidden; the capture-mode group follows the
// mode; the column opens and closes with the frame's parent.
TEST_F(WesternBlotCamSetFrameTest, GroupsAndColumn) {
    QFrame column;
    auto* frame = new WesternBlotCamSetFrame(&column);
    column.show();
    for (const char* hidden :
         {"groupBox_BlackLevel", "groupBox_Gamma", "groupBox_Contrast", "groupBox_FrameRate",
          "groupBox_BitsDepth", "groupBox_Histogram", "groupBox_Rotate"}) {
        EXPECT_FALSE(childOf<QGroupBox>(frame, hidden)->isVisible()) << hidden;
    }
    auto* mode = childOf<QGroupBox>(frame, "groupBox_CaptureMode");
    frame->changeShowOfCapModeHandle(WesternBlot_ManualCapture);
    EXPECT_TRUE(mode->isVisible());
    frame->changeShowOfCapModeHandle(WesternBlot_SingleCapture);
    EXPECT_FALSE(mode->isVisible());
    frame->changeShowOfCapModeHandle(WesternBlot_ManualCapture);
    frame->slot_Hide();
    EXPECT_FALSE(column.isVisible());
    frame->slot_Show();
    EXPECT_TRUE(column.isVisible());
    EXPECT_TRUE(mode->isVisible());
    EXPECT_DEATH(frame->changeShowOfCapModeHandle(static_cast<WesternBlot_FuncsFrameType>(2)),
                 "Unknow WesternBlot_FuncsFrameType.");
}

// The camera's gain range bounds both gain boxes; without it (no camera, or
// the query fails) the stored gains are shown and saved back unchanged.
TEST_F(WesternBlotCamSetFrameTest, GainRangeFromTheCameraOrNone) {
    struct Case {
        const char* what;
        bool camera;
        bool failRange;
        int storedCap;
        int gainPre;
        int gainCap;
    };
    // 150000 lies beyond the form's own maximum of 99999.
    const Case cases[] = {{"no camera", false, false, 150000, 1500, 150000},
                          {"query fails", true, true, 2500, 1500, 2500},
                          {"camera range 1..1000", true, false, 2500, 1000, 1000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        camsim_reset(nullptr);
        if (c.camera)
            startCamera();
        if (c.failRange)
            camsim_fail("GetAnaloggainRange", -1, -1);
        storeSet("TucsenCurrentCamSet", {1, 500, 1500, c.storedCap, true, false});
        WesternBlotCamSetFrame frame;
        frame.slot_Show();
        EXPECT_EQ(shown(frame), (SixValues{1, 500, c.gainPre, c.gainCap, true, false}));
        ModalDriver driver;
        driver.answerMessageBox();
        QTest::mouseClick(childOf<QPushButton>(&frame, "pushButton_Save"), Qt::LeftButton);
        EXPECT_EQ(storedSet("TucsenCurrentCamSet"),
                  (SixValues{1, 500, c.gainPre, c.gainCap, true, false}));
    }
}

// While the preview runs, binning, preview exposure (spin box and slider kept
// together) and preview gain reach the camera as they change; capture gain
// and capture mode wait for Save.
TEST_F(WesternBlotCamSetFrameTest, PreviewSettingsSentLive) {
    startCamera();
    WesternBlotCamSetFrame frame;
    camsim_clear_journal();
    childOf<QComboBox>(&frame, "comboBox_BinningMode")->setCurrentIndex(2);
    childOf<QSpinBox>(&frame, "spinBox_ExposurePre")->setValue(300);
    EXPECT_EQ(childOf<QSlider>(&frame, "horizontalSlider_ExposurePre")->value(), 300);
    childOf<QSlider>(&frame, "horizontalSlider_ExposurePre")->setValue(1200);
    EXPECT_EQ(childOf<QSpinBox>(&frame, "spinBox_ExposurePre")->value(), 1200);
    childOf<QSpinBox>(&frame, "spinBox_GainPre")->setValue(250);
    childOf<QSpinBox>(&frame, "spinBox_GainCap")->setValue(400);
    childOf<QCheckBox>(&frame, "checkBox_TimeAcc")->setChecked(true);
    const std::string calls = journal();
    EXPECT_NE(calls.find("SetResolution 2 -> 0"), std::string::npos) << calls;
    EXPECT_NE(calls.find("SetExposure 300"), std::string::npos) << calls;
    EXPECT_NE(calls.find("SetExposure 1200"), std::string::npos) << calls;
    EXPECT_NE(calls.find("SetAnaloggain 250 -> 0"), std::string::npos) << calls;
    EXPECT_EQ(calls.find("SetAnaloggain 400"), std::string::npos) << calls;
}

// Save keeps the six values (and leaves the set's other keys as stored);
// Reset shows and stores the default set; each tells the user and asks for
// the preview.
TEST_F(WesternBlotCamSetFrameTest, SaveAndReset) {
    startCamera();
    storeSet("TucsenCurrentCamSet", {0, 100, 200, 200, false, false}, 7);
    storeSet("TucsenDefaultCamSet", {1, 800, 300, 400, true, false});
    WesternBlotCamSetFrame frame;
    frame.slot_Show();
    QSignalSpy preview(&frame, &WesternBlotCamSetFrame::sig_PreviewStart);
    ModalDriver driver;
    driver.answerMessageBox().answerMessageBox();

    childOf<QComboBox>(&frame, "comboBox_BinningMode")->setCurrentIndex(2);
    childOf<QSpinBox>(&frame, "spinBox_ExposurePre")->setValue(1500);
    childOf<QSpinBox>(&frame, "spinBox_GainPre")->setValue(600);
    childOf<QSpinBox>(&frame, "spinBox_GainCap")->setValue(700);
    childOf<QCheckBox>(&frame, "checkBox_IntegralAcc")->setChecked(true);
    QTest::mouseClick(childOf<QPushButton>(&frame, "pushButton_Save"), Qt::LeftButton);
    EXPECT_EQ(storedSet("TucsenCurrentCamSet"), (SixValues{2, 1500, 600, 700, false, true}));
    EXPECT_EQ(storedBlackLevel(), 7);
    EXPECT_EQ(preview.count(), 1);

    QTest::mouseClick(childOf<QPushButton>(&frame, "pushButton_Reset"), Qt::LeftButton);
    const SixValues defaults{1, 800, 300, 400, true, false};
    EXPECT_EQ(shown(frame), defaults);
    EXPECT_EQ(storedSet("TucsenCurrentCamSet"), defaults);
    EXPECT_EQ(preview.count(), 2);
    EXPECT_EQ(driver.messages(), QStringList({"Tips|Camera parameter save success.",
                                              "Tips|Camera parameter reset success."}));
}

TEST_F(WesternBlotCamSetFrameTest, LanguageChangeKeepsSelections) {
    WesternBlotCamSetFrame frame;
    auto* binning = childOf<QComboBox>(&frame, "comboBox_BinningMode");
    auto* rotate = childOf<QComboBox>(&frame, "comboBox_Rotate");
    binning->setCurrentIndex(1);
    rotate->setCurrentIndex(3);
    switchLanguage(0);
    EXPECT_EQ(childOf<QGroupBox>(&frame, "groupBox_Binning")->title(), QStringLiteral("像素合并"));
    EXPECT_EQ(childOf<QCheckBox>(&frame, "checkBox_TimeAcc")->text(), QStringLiteral("时间累积"));
    EXPECT_EQ(rotate->itemText(3), QStringLiteral("旋转180度"));
    EXPECT_EQ(binning->currentIndex(), 1);
    EXPECT_EQ(rotate->currentIndex(), 3);
    switchLanguage(1);
    EXPECT_EQ(rotate->itemText(3), "180 Degree");
    EXPECT_EQ(rotate->currentIndex(), 3);
}

}  // namespace
