// The western-blot page offscreen against the simulated cooled camera.
#include "CamCore_control.h"
#include "TestStation.h"
#include "WesternBlotFrame.h"
#include "WesternBlot_BottomBarFrame.h"
#include "WesternBlot_ImageFrame.h"
#include "base/Enumerations.h"
#include "camera/TucsenCamCtrl.h"
#include "controller/CI_MainControl.h"
#include "database/UserInfo.h"
#include "widgets/InitialDialog.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

namespace {

TestStation& station() {
    static TestStation* made = [] {
        auto* s = new TestStation(QStringLiteral("westernblot"));
        s->writeMachineIni(QStringLiteral("320"), WesternBlot);
        s->setUserOption(QStringLiteral("LanguageID"), 1);
        return s;
    }();
    return *made;
}

class WesternBlotPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        station();
        control = CI_MainControl::getInstance();
        control->currentUser = &user;
    }
    void TearDown() override {
        control->currentUser = nullptr;
        camsim_stall_reads(0);
        camCtrl()->stopFlag = true;
        camsim_reset(nullptr);
    }
    // Starts the simulated camera as the station's start-up does.
    static void startCamera(const std::string& config) {
        camsim_reset(config.c_str());
        TucsenCamCtrl* ctrl = camCtrl();
        ASSERT_EQ(ctrl->initDevice("./"), 0);
        ASSERT_EQ(ctrl->deviceCount(), 1);
        ctrl->deviceName = QByteArray(ctrl->deviceNameAt(0));
        ASSERT_TRUE(ctrl->initBuffers());
    }
    static TucsenCamCtrl* camCtrl() { return TucsenCamCtrl::getInstance(); }
    template <typename T>
    static T* child(QWidget* root, const char* name) {
        T* found = root->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    CI_MainControl* control = nullptr;
    UserInfo user;
};

TEST_F(WesternBlotPageTest, TemperatureShownValues) {
    struct Case {
        float reading;
        const char* shown;
    };
    const Case cases[] = {{20.0f, "17.00"}, {25.0f, "25.00"}, {31.5f, "31.50"}, {-10.0f, "-31.00"}};
    for (const Case& c : cases) {
        EXPECT_EQ(WesternBlot_BottomBarFrame::temperatureText(c.reading), QLatin1String(c.shown))
            << c.reading;
    }
}

TEST_F(WesternBlotPageTest, TemperatureReadEverySecondAndClearedWhenReadingFails) {
    startCamera("width=64,height=32,time_scale=0,ambient=20,setpoint=20");
    WesternBlot_BottomBarFrame bar;
    auto* value = child<QLabel>(&bar, "label_CurTemp");
    EXPECT_EQ(child<QLabel>(&bar, "label_Temp")->text(), QStringLiteral("CCD Temp:"));
    EXPECT_EQ(child<QLabel>(&bar, "label_TempUnit")->text(), QString(QChar(0x2103)));
    EXPECT_TRUE(value->text().isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return value->text() == QStringLiteral("17.00"); }, 3000));
    camsim_fail("GetTemperature", -1, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return value->text().isEmpty(); }, 3000));
}

TEST_F(WesternBlotPageTest, ButtonsFollowRights) {
    WesternBlot_BottomBarFrame bar;
    auto* exportButton = child<QPushButton>(&bar, "pushButton_Export");
    auto* merge = child<QPushButton>(&bar, "pushButton_Merge");
    auto* wps = child<QPushButton>(&bar, "pushButton_WpsEdit");
    auto* process = child<QPushButton>(&bar, "pushButton_Process");
    struct Case {
        bool reportExport;
        bool imageProcess;
    };
    for (const Case& c : {Case{false, false}, Case{true, true}, Case{false, true}}) {
        user.authRptExport = c.reportExport;
        user.authImgProcess = c.imageProcess;
        bar.updateButtonHandle(false);
        EXPECT_FALSE(exportButton->isEnabled());
        EXPECT_FALSE(merge->isEnabled());
        EXPECT_FALSE(wps->isEnabled());
        EXPECT_FALSE(process->isEnabled());
        bar.updateButtonHandle(true);
        EXPECT_TRUE(exportButton->isEnabled());
        EXPECT_TRUE(merge->isEnabled());
        EXPECT_EQ(wps->isEnabled(), c.reportExport);
        EXPECT_EQ(process->isEnabled(), c.imageProcess);
        bar.updateButtonHandle(false);
        bar.updateProcessButtonHandle();
        EXPECT_EQ(process->isEnabled(), c.imageProcess);
    }
}

TEST_F(WesternBlotPageTest, ProcessLeavesThePageBeforeImageProcessing) {
    WesternBlot_BottomBarFrame bar;
    QStringList order;
    QObject::connect(&bar, &WesternBlot_BottomBarFrame::exitFrame, [&] { order << "exit"; });
    QObject::connect(&bar, &WesternBlot_BottomBarFrame::sig_ShowImgProcessFrame,
                     [&] { order << "process"; });
    QSignalSpy exports(&bar, &WesternBlot_BottomBarFrame::sig_ExportClick);
    QSignalSpy merges(&bar, &WesternBlot_BottomBarFrame::sig_MergeClick);
    QSignalSpy reports(&bar, &WesternBlot_BottomBarFrame::sig_WpsEditClick);
    user.authImgProcess = true;
    user.authRptExport = true;
    bar.updateButtonHandle(true);
    child<QPushButton>(&bar, "pushButton_Process")->click();
    child<QPushButton>(&bar, "pushButton_Export")->click();
    child<QPushButton>(&bar, "pushButton_Merge")->click();
    child<QPushButton>(&bar, "pushButton_WpsEdit")->click();
    EXPECT_EQ(order, (QStringList{"exit", "process"}));
    EXPECT_EQ(exports.count(), 1);
    EXPECT_EQ(merges.count(), 1);
    EXPECT_EQ(reports.count(), 1);
}

TEST_F(WesternBlotPageTest, PageSheetTypeAndRelays) {
    WesternBlotFrame page;
    EXPECT_TRUE(page.styleSheet().contains(QStringLiteral("export_normal_en.png")));
    control->expType = Varnu;
    page.show();
    EXPECT_EQ(control->expType, static_cast<int>(WesternBlot));
    QList<FrameID> changes;
    QObject::connect(&page, &WesternBlotFrame::sig_ChangeFrame, [&](FrameID id) { changes << id; });
    child<QPushButton>(page.bottomBar(), "pushButton_Process")->setEnabled(true);
    child<QPushButton>(page.bottomBar(), "pushButton_Process")->click();
    EXPECT_EQ(changes, QList<FrameID>{ImageProcessFrameID});
    page.hide();
}

// Watches the page's modal windows from a timer, which also runs inside their
// event loops: whether the busy dialog was seen, and the texts of the
// message boxes it answered.
class ModalWatch : public QObject {
  public:
    explicit ModalWatch(QWidget* page, std::function<void()> onBusyDialog = {})
        : m_page(page), m_onBusyDialog(std::move(onBusyDialog)) {
        connect(&m_timer, &QTimer::timeout, this, &ModalWatch::poll);
        m_timer.start(20);
    }
    bool busyDialogSeen = false;
    QStringList messages;

  private:
    void poll() {
        auto* busy = m_page->findChild<InitialDialog*>();
        if (busy && busy->isVisible() && !busyDialogSeen) {
            busyDialogSeen = true;
            if (m_onBusyDialog) {
                m_onBusyDialog();
            }
        }
        for (QMessageBox* box : m_page->findChildren<QMessageBox*>()) {
            if (box->isVisible()) {
                messages << box->text();
                box->accept();
            }
        }
    }
    QWidget* m_page;
    std::function<void()> m_onBusyDialog;
    QTimer m_timer;
};

// The busy dialog opens once the page is shown, and the first frame of the
// preview closes it and fills the picture.
TEST_F(WesternBlotPageTest, PreviewShowsLiveFramesAndClosesTheBusyDialog) {
    startCamera("width=64,height=32,time_scale=0,noise=0,scene=whole-bright");
    camsim_stall_reads(1);
    user.authImgProcess = true;
    WesternBlotFrame page;
    page.resize(1024, 643);
    auto* status = child<QLabel>(page.bottomBar(), "label_PreviewStatus");
    auto* picture = child<QLabel>(page.imageFrame(), "label_Cam");
    // The frames come once the dialog stands.
    ModalWatch watch(&page, [] { camsim_stall_reads(0); });
    page.slot_EnterWbFrame();
    EXPECT_EQ(status->text(), QStringLiteral("Previewing..."));
    EXPECT_FALSE(child<QPushButton>(page.bottomBar(), "pushButton_Process")->isEnabled());
    page.show();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !picture->pixmap(Qt::ReturnByValue).isNull(); }, 5000));
    EXPECT_TRUE(watch.busyDialogSeen);
    EXPECT_TRUE(QTest::qWaitFor([&] { return page.findChild<InitialDialog*>() == nullptr; }, 3000));
    EXPECT_TRUE(watch.messages.isEmpty());
    EXPECT_TRUE(child<QPushButton>(page.bottomBar(), "pushButton_Process")->isEnabled());
    EXPECT_GT(camsim_frames_decoded(), 0);
    page.exitExperimentFrameHandle();
    EXPECT_TRUE(status->text().isEmpty());
    const int decoded = camsim_frames_decoded();
    QTest::qWait(200);
    EXPECT_EQ(camsim_frames_decoded(), decoded);
}

// Without a frame the busy dialog still closes, with a message, after the
// bound.
TEST_F(WesternBlotPageTest, StalledPreviewClosesTheBusyDialogWithAMessage) {
    startCamera("width=64,height=32,time_scale=0,noise=0");
    camsim_stall_reads(1);
    WesternBlotFrame page;
    ModalWatch watch(&page);
    page.slot_EnterWbFrame();
    page.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !watch.messages.isEmpty(); },
                                WesternBlot_ImageFrame::kFirstFrameBoundMs + 5000));
    EXPECT_TRUE(watch.busyDialogSeen);
    EXPECT_EQ(watch.messages, QStringList{QStringLiteral("No picture from the camera.")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return page.findChild<InitialDialog*>() == nullptr; }, 3000));
    camsim_stall_reads(0);
    page.exitExperimentFrameHandle();
}

}  // namespace
