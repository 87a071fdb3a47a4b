// The multi-fluorescence page: light and filter choices as darkroom-sim
// receives them, what building, re-choosing and the buttons without effect
// send (nothing), the tools column on show and on the settings button, and
// Process to image processing.
#include "DarkroomSimProcess.h"
#include "FluorescenceCommands.h"
#include "MultFluoreCaptureFrame.h"
#include "MultFluoreFrame.h"
#include "MultFluoreTestSupport.h"
#include "MultFluore_BottomBarFrame.h"
#include "MultFluore_FuncsFrame.h"
#include "controller/CI_MainControl.h"
#include "serial/ASyncSerialPortThread.h"
#include "serial/FilterCtrl.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>

#include <memory>

#include <gtest/gtest.h>

namespace {

// The page on a station whose serial link is darkroom-sim's line.
class MultFluorePageTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_control = multFluoreController();
        s_sim = new DarkroomSimProcess(QStringLiteral("mf-link"));
        ASSERT_TRUE(s_sim->start());
        s_control->ConnectToPort(s_sim->linkPath());
        ASSERT_TRUE(waitUntil([] { return s_control->serialPortThread->isRunning(); }, 3000));
    }

    static void TearDownTestSuite() {
        s_control->serialPortThread->closePort();
        s_control->serialPortThread->wait(3000);
        EXPECT_TRUE(s_sim->stop());
        delete s_sim;
        s_sim = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(s_sim->command(QStringLiteral("clear")).isEmpty());
        s_control->expType = 0;
        m_page = std::make_unique<MultFluoreFrame>();
        m_page->resize(1024, 675);
        QObject::connect(m_page.get(), &MultFluoreFrame::sig_ChangeFrame,
                         [this](FrameID id) { m_frameRequests.append(id); });
    }

    QComboBox* lightBox() { return childOf<QComboBox>(m_page.get(), "comboBox_Light"); }
    QComboBox* filterBox() { return childOf<QComboBox>(m_page.get(), "comboBox_Filter"); }
    QPushButton* button(const char* name) { return childOf<QPushButton>(m_page.get(), name); }
    QWidget* tools() { return childOf<QWidget>(m_page.get(), "frame_Tools"); }

    // The bytes of every command the controller received since the last
    // clear, once there are at least `count` of them.
    static QList<QByteArray> received(int count) {
        QList<QByteArray> got;
        waitUntil(
            [&] {
                got.clear();
                for (const SimJournalEntry& entry : s_sim->journal()) {
                    if (entry.kind == "frame" || entry.kind == "raw") {
                        got.append(entry.bytes);
                    }
                }
                return got.size() >= count;
            },
            5000);
        return got;
    }

    // Sends a filter frame of its own as a marker and returns what the
    // controller received up to and including it: the serial line keeps
    // the order of writes, so anything sent before the marker shows first.
    QList<QByteArray> receivedBeforeMarker() {
        int command = FluorescenceCommand::FilterWheel;
        int position = 0x16;
        FilterCtrl(s_control->serialPortThread).sendCmd(command, position);
        const QByteArray marker = QByteArray::fromHex("68a0f101162e");
        QList<QByteArray> got;
        waitUntil(
            [&] {
                got = received(0);
                return got.contains(marker);
            },
            5000);
        EXPECT_FALSE(got.isEmpty()) << "the marker never arrived";
        if (!got.isEmpty()) {
            EXPECT_EQ(got.takeLast(), marker);
        }
        return got;
    }

    static CI_MainControl* s_control;
    static DarkroomSimProcess* s_sim;
    std::unique_ptr<MultFluoreFrame> m_page;
    QList<int> m_frameRequests;
};

CI_MainControl* MultFluorePageTest::s_control = nullptr;
DarkroomSimProcess* MultFluorePageTest::s_sim = nullptr;

TEST_F(MultFluorePageTest, BuildingThePageSendsNothing) {
    m_page->show();
    EXPECT_EQ(receivedBeforeMarker(), QList<QByteArray>());
    EXPECT_EQ(lightBox()->currentIndex(), 0);
    EXPECT_EQ(filterBox()->currentIndex(), 0);
}

TEST_F(MultFluorePageTest, EachLightChoiceSendsItsFrameAndLightsThatSource) {
    struct Case {
        int index;
        const char* frame;
        const char* lit;
    };
    const Case cases[] = {
        {1, "68a0f30501c8c9ca07f3", "red"},  {2, "68a0f30501c7c9ca08f3", "green"},
        {3, "68a0f30501c7c8ca09f3", "blue"}, {4, "68a0f30501c7c8c90af3", "nearir"},
        {0, "68a0f301c1fb", "none"},
    };
    m_page->show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        s_sim->command(QStringLiteral("clear"));
        lightBox()->setCurrentIndex(c.index);
        EXPECT_EQ(received(1), QList<QByteArray>({QByteArray::fromHex(c.frame)}));
        EXPECT_EQ(s_sim->state(QStringLiteral("fluorescence")), c.lit);
    }
}

TEST_F(MultFluorePageTest, EachFilterChoiceMovesTheWheelThere) {
    struct Case {
        int index;
        const char* frame;
        const char* position;
    };
    const Case cases[] = {
        {5, "68a0f101162e", "690"}, {1, "68a0f101122a", "460"}, {2, "68a0f101132b", "535"},
        {3, "68a0f101142c", "590"}, {4, "68a0f101152d", "620"}, {0, "68a0f1011129", "none"},
    };
    m_page->show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        s_sim->command(QStringLiteral("clear"));
        filterBox()->setCurrentIndex(c.index);
        EXPECT_EQ(received(1), QList<QByteArray>({QByteArray::fromHex(c.frame)}));
        EXPECT_EQ(s_sim->state(QStringLiteral("filter")), c.position);
    }
}

TEST_F(MultFluorePageTest, ReChoosingAndTheButtonsWithoutEffectSendNothing) {
    m_page->show();
    lightBox()->setCurrentIndex(2);
    filterBox()->setCurrentIndex(3);
    ASSERT_EQ(received(2).size(), 2);
    s_sim->command(QStringLiteral("clear"));

    lightBox()->setCurrentIndex(2);
    filterBox()->setCurrentIndex(3);
    for (const char* name : {"pushButton_Preview", "pushButton_SetExpTime", "pushButton_Capture",
                             "pushButton_Stop", "pushButton_Export", "pushButton_Info"}) {
        SCOPED_TRACE(name);
        button(name)->click();
        EXPECT_FALSE(tools()->isVisible());
    }
    EXPECT_EQ(receivedBeforeMarker(), QList<QByteArray>());
    EXPECT_EQ(m_frameRequests, QList<int>());
    EXPECT_EQ(lightBox()->currentIndex(), 2);
    EXPECT_EQ(s_control->expType, MultFluore);
}

TEST_F(MultFluorePageTest, ShowingSetsTheTypeAndHidesTheToolsWhateverTheSettingButton) {
    auto* panel = childOf<MultFluoreCaptureFrame>(m_page.get(), "frame_MultFluoreCapture");
    auto* funcs = childOf<MultFluore_FuncsFrame>(m_page.get(), "frame_Funcs");
    QSignalSpy panelShows(panel, &MultFluoreCaptureFrame::sig_ShowToolFrame);
    QSignalSpy panelHides(panel, &MultFluoreCaptureFrame::sig_HideToolFrame);
    QSignalSpy relayShows(funcs, &MultFluore_FuncsFrame::showToolFrame);
    QSignalSpy relayHides(funcs, &MultFluore_FuncsFrame::hideToolFrame);

    m_page->show();
    EXPECT_EQ(s_control->expType, MultFluore);
    EXPECT_FALSE(tools()->isVisible());

    button("pushButton_Setting")->click();
    EXPECT_TRUE(button("pushButton_Setting")->isChecked());
    EXPECT_TRUE(tools()->isVisible());
    EXPECT_EQ(panelShows.count(), 1);
    EXPECT_EQ(relayShows.count(), 1);

    // Shown again with the button still checked: the tools are hidden, and
    // the next click, which unchecks the button, asks to hide them.
    s_control->expType = 0;
    m_page->hide();
    m_page->show();
    EXPECT_EQ(s_control->expType, MultFluore);
    EXPECT_TRUE(button("pushButton_Setting")->isChecked());
    EXPECT_FALSE(tools()->isVisible());
    button("pushButton_Setting")->click();
    EXPECT_FALSE(button("pushButton_Setting")->isChecked());
    EXPECT_EQ(panelHides.count(), 1);
    EXPECT_EQ(relayHides.count(), 1);
    EXPECT_FALSE(tools()->isVisible());

    button("pushButton_Setting")->click();
    EXPECT_TRUE(tools()->isVisible());
    EXPECT_EQ(panelShows.count(), 2);
}

TEST_F(MultFluorePageTest, ProcessOpensImageProcessing) {
    m_page->show();
    auto* bar = childOf<MultFluore_BottomBarFrame>(m_page.get(), "frame_BottomBar");
    QSignalSpy barSignal(bar, &MultFluore_BottomBarFrame::sig_ShowImgProcessFrame);
    button("pushButton_Process")->click();
    EXPECT_EQ(barSignal.count(), 1);
    EXPECT_EQ(m_frameRequests, QList<int>({ImageProcessFrameID}));
}

TEST(FluorescenceCommandsDeathTest, ValuesOutsideTheTablesAreFatal) {
    EXPECT_DEATH(multLightCommandData(5), "Unknow Mult_LightType\\.");
    EXPECT_DEATH(multLightCommandData(-1), "Unknow Mult_LightType\\.");
    EXPECT_DEATH(filterCommandData(6), "Unknow FilterType\\.");
    EXPECT_DEATH(filterCommandData(-1), "Unknow FilterType\\.");
}

}  // namespace
