#include "PageFixture.h"

#include "BCGToolFrame.h"
#include "HistogramAdjustToolFrame.h"
#include "ImageProcess_ToolsFrame.h"
#include "MergeThreeImgToolFrame.h"
#include "MergeTwoImgToolFrame.h"
#include "RGBToolFrame.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include <memory>

namespace {

const char* const kPanels[] = {"frame_BCGTool", "frame_HistogramAdjustTool",
                               "frame_MergeTwoImgTool", "frame_MergeThreeImgTool", "frame_RGBTool"};

}  // namespace

class ToolsFrameTest : public PageTest {
  protected:
    void SetUp() override {
        PageTest::SetUp();
        tools = std::make_unique<ImageProcess_ToolsFrame>();
    }
    void TearDown() override {
        tools.reset();
        PageTest::TearDown();
    }
    QStringList visiblePanels() const {
        QStringList names;
        for (const char* name : kPanels) {
            if (tools->findChild<QFrame*>(name)->isVisible()) {
                names << name;
            }
        }
        return names;
    }

    std::unique_ptr<ImageProcess_ToolsFrame> tools;
};

using ToolsFrameDeathTest = ToolsFrameTest;

TEST_F(ToolsFrameTest, FormHoldsTheFivePanelsInTheirOrder) {
    EXPECT_EQ(tools->objectName(), "ImageProcess_ToolsFrame");
    EXPECT_EQ(tools->size(), QSize(200, 643));
    QStringList order;
    for (QObject* child : tools->children()) {
        if (auto* panel = qobject_cast<QFrame*>(child)) {
            order << panel->objectName();
            EXPECT_EQ(panel->geometry(), QRect(0, 0, 200, 675));
            EXPECT_EQ(panel->frameShape(), QFrame::StyledPanel);
        }
    }
    EXPECT_EQ(order,
              (QStringList{"frame_BCGTool", "frame_MergeTwoImgTool", "frame_HistogramAdjustTool",
                           "frame_RGBTool", "frame_MergeThreeImgTool"}));
    EXPECT_NE(qobject_cast<BCGToolFrame*>(tools->findChild<QFrame*>("frame_BCGTool")), nullptr);
    EXPECT_NE(qobject_cast<HistogramAdjustToolFrame*>(
                  tools->findChild<QFrame*>("frame_HistogramAdjustTool")),
              nullptr);
}

TEST_F(ToolsFrameTest, ChangingTheToolShowsTheColumnWithOnlyThatPanel) {
    for (int type = 0; type < 5; ++type) {
        tools->hide();
        tools->changeToolFrameHandle(static_cast<ImageToolsFrameType>(type));
        EXPECT_TRUE(tools->isVisible());
        EXPECT_EQ(visiblePanels(), QStringList{kPanels[type]}) << type;
    }
    tools->changeToolFrameHandle(ImageTools_HistogramAdjust);
    tools->changeToolFrameHandle(ImageTools_BCG);
    EXPECT_EQ(visiblePanels(), QStringList{"frame_BCGTool"});
}

TEST_F(ToolsFrameTest, HidingEmitsOnceEachTimeAlsoWhenAlreadyHidden) {
    tools->changeToolFrameHandle(ImageTools_HistogramAdjust);
    QSignalSpy hidden(tools.get(), &ImageProcess_ToolsFrame::toolsFrameHide);
    tools->hideToolsFrameHandle();
    EXPECT_FALSE(tools->isVisible());
    EXPECT_EQ(hidden.count(), 1);
    tools->hideToolsFrameHandle();
    EXPECT_EQ(hidden.count(), 2);
}

TEST_F(ToolsFrameTest, RelaysTheHistogramToolBothWays) {
    tools->changeToolFrameHandle(ImageTools_HistogramAdjust);
    auto* tool = tools->findChild<HistogramAdjustToolFrame*>();
    QStringList steps;
    QObject::connect(tools.get(), &ImageProcess_ToolsFrame::updateHistoed, [&](int low, int high) {
        steps << QStringLiteral("%1-%2").arg(low).arg(high);
    });
    QObject::connect(tools.get(), &ImageProcess_ToolsFrame::toolsFrameHide, [&] {
        steps << (tools->isVisible() ? QStringLiteral("hide, shown")
                                     : QStringLiteral("hide, hidden"));
    });
    QObject::connect(tools.get(), &ImageProcess_ToolsFrame::updateCurrImage,
                     [&] { steps << QStringLiteral("keep"); });
    QImage picture(1, 1, QImage::Format_RGB32);
    picture.fill(qRgb(60, 60, 60));
    tools->slot_UpdateHisto(picture);
    EXPECT_EQ(tool->autoMinimum(), 60);
    EXPECT_EQ(steps.back(), "60-60");
    steps.clear();
    click(*tool, "pushButton_Back");
    EXPECT_EQ(steps, (QStringList{"hide, hidden", "keep"}));
}

TEST_F(ToolsFrameTest, TheFormOnlyPanelsAreLaidOutAndDoNothing) {
    tools->show();
    struct Case {
        const char* panel;
        int buttons;
        int sliders;
        int fields;
        int checks;
        int radios;
        const char* someButton;
        QRect someGeometry;
    };
    const Case cases[] = {
        {"frame_BCGTool", 8, 3, 3, 0, 0, "pushButton_GammaAdd", QRect(145, 410, 30, 30)},
        {"frame_RGBTool", 8, 3, 3, 0, 0, "pushButton_RedSub", QRect(25, 110, 30, 30)},
        {"frame_MergeTwoImgTool", 4, 0, 0, 2, 9, "pushButton_Merge", QRect(20, 480, 60, 40)},
        {"frame_MergeThreeImgTool", 5, 0, 0, 3, 9, "pushButton_Blue", QRect(90, 130, 60, 40)},
    };
    QSignalSpy histo(tools.get(), &ImageProcess_ToolsFrame::updateHistoed);
    QSignalSpy hidden(tools.get(), &ImageProcess_ToolsFrame::toolsFrameHide);
    QSignalSpy keep(tools.get(), &ImageProcess_ToolsFrame::updateCurrImage);
    for (const Case& c : cases) {
        auto* panel = tools->findChild<QFrame*>(c.panel);
        tools->changeToolFrameHandle(ImageTools_BCG);
        panel->show();
        EXPECT_EQ(panel->findChildren<QPushButton*>().size(), c.buttons) << c.panel;
        EXPECT_EQ(panel->findChildren<QSlider*>().size(), c.sliders) << c.panel;
        EXPECT_EQ(panel->findChildren<QLineEdit*>().size(), c.fields) << c.panel;
        EXPECT_EQ(panel->findChildren<QCheckBox*>().size(), c.checks) << c.panel;
        EXPECT_EQ(panel->findChildren<QRadioButton*>().size(), c.radios) << c.panel;
        EXPECT_EQ(panel->findChild<QPushButton*>(c.someButton)->geometry(), c.someGeometry);
        for (QSlider* slider : panel->findChildren<QSlider*>()) {
            EXPECT_EQ(slider->maximum(), 99);
            slider->setValue(40);
        }
        for (QAbstractButton* button : panel->findChildren<QAbstractButton*>()) {
            button->click();
        }
        // Back does not close the column either.
        EXPECT_TRUE(tools->isVisible()) << c.panel;
        EXPECT_TRUE(panel->isVisible()) << c.panel;
    }
    EXPECT_EQ(histo.count() + hidden.count() + keep.count(), 0);
}

TEST_F(ToolsFrameTest, LanguageChangeRetranslatesThePanelsButNotTheColumnTitle) {
    s_control->changeLanguage(0);
    QApplication::processEvents();
    EXPECT_EQ(tools->findChild<QLabel*>("label_Bright")->text(), QStringLiteral("亮度"));
    EXPECT_EQ(tools->findChild<QGroupBox*>("groupBox_Sample")->title(), QStringLiteral("样品"));
    EXPECT_EQ(tools->findChild<QFrame*>("frame_MergeThreeImgTool")
                  ->findChild<QPushButton*>("pushButton_Merge")
                  ->text(),
              QStringLiteral("合成"));
    EXPECT_EQ(tools->windowTitle(), "Frame");
}

TEST_F(ToolsFrameDeathTest, AnUnknownToolIsFatal) {
    EXPECT_DEATH(tools->changeToolFrameHandle(static_cast<ImageToolsFrameType>(5)),
                 "Unknow ToolsFrameType.");
}
