#include "WesternBlotStationTest.h"

#include "WesternBlot_ImageFrame.h"
#include "base/Enumerations.h"
#include "camera/TucsenCamCtrl.h"
#include "controller/CI_MainControl.h"
#include "serial/ASyncSerialPortThread.h"

#include <CamCore_control.h>

#include <QDir>
#include <QLabel>
#include <QTest>

namespace {

// Made before the first test and ended after the last one.
class StationEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        station = std::make_unique<TestStation>(QStringLiteral("westernblot-station"));
        station->writeMachineIni(QStringLiteral("320"), WesternBlot);
        station->setUserOption(QStringLiteral("LanguageID"), 1);
        station->setUserOption(QStringLiteral("storagePath"),
                               station->path() + QStringLiteral("/storage"));
        control = CI_MainControl::getInstance();
        ASSERT_TRUE(control->initMachineName());
        sim = std::make_unique<DarkroomSimProcess>(QStringLiteral("westernblot-link"));
        ASSERT_TRUE(sim->start());
        control->ConnectToPort(sim->linkPath());
        ASSERT_TRUE(waitUntil([this] { return control->serialPortThread->isRunning(); }, 3000));
    }
    void TearDown() override {
        control->serialPortThread->closePort();
        control->serialPortThread->wait(3000);
        sim.reset();
    }
    std::unique_ptr<TestStation> station;
    std::unique_ptr<DarkroomSimProcess> sim;
    CI_MainControl* control = nullptr;
};

StationEnvironment* const g_environment = [] {
    auto* environment = new StationEnvironment;
    testing::AddGlobalTestEnvironment(environment);
    return environment;
}();

}  // namespace

TestStation& WesternBlotStationTest::station() {
    return *g_environment->station;
}

CI_MainControl* WesternBlotStationTest::control() {
    return g_environment->control;
}

DarkroomSimProcess& WesternBlotStationTest::darkroom() {
    return *g_environment->sim;
}

TucsenCamCtrl* WesternBlotStationTest::camera() {
    return TucsenCamCtrl::getInstance();
}

void WesternBlotStationTest::SetUp() {
    camsim_reset("width=64,height=32,time_scale=0,noise=0,scene=bands");
    ASSERT_TRUE(control()->initTucsenCam());
    control()->currentUser = &user;
    user.authImgProcess = true;
    user.authRptExport = true;
    camera()->curFuncFrameType = WesternBlot_SingleCapture;
    page = std::make_unique<WesternBlotFrame>();
    page->resize(1024, 643);
}

void WesternBlotStationTest::TearDown() {
    page->exitExperimentFrameHandle();
    page.reset();
    control()->currentUser = nullptr;
}

QString WesternBlotStationTest::position() const {
    return child<QLabel>(image(), "label_Position")->text();
}

bool WesternBlotStationTest::pagingShown() const {
    return child<QWidget>(image(), "frame_Btn")->isVisibleTo(image());
}

void WesternBlotStationTest::enterPage() {
    page->slot_EnterWbFrame();
    page->show();
    auto* picture = child<QLabel>(image(), "label_Cam");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !picture->pixmap(Qt::ReturnByValue).isNull(); }, 5000));
}

void WesternBlotStationTest::setManualSeries(const QList<QStringList>& entries) {
    UserOpts& options = control()->userOpt;
    options.CapCount = entries.size();
    EXPECT_TRUE(options.saveUserOpt(UserOpt_CapCount));
    for (int i = 0; i < entries.size(); ++i) {
        *(&options.ExpTime_1 + i) = entries.at(i);
        EXPECT_TRUE(options.saveUserOpt(UserOpt_ExpTime_1 + i));
    }
}

void WesternBlotStationTest::setExpTime(int ms) {
    control()->userOpt.ExpTime = ms;
    EXPECT_TRUE(control()->userOpt.saveUserOpt(UserOpt_ExpTime));
}

int WesternBlotStationTest::tifsIn(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("*.tif")}, QDir::Files).size();
}

QStringList WesternBlotStationTest::lightNotes() {
    QStringList notes;
    int seen = -1;
    // Quiet for 500 ms, at most 5 s.
    for (int round = 0; round < 10; ++round) {
        notes.clear();
        for (const SimJournalEntry& entry : darkroom().journal()) {
            if (entry.note.startsWith(QStringLiteral("blot light"))) {
                notes << entry.note;
            }
        }
        if (notes.size() == seen) {
            break;
        }
        seen = notes.size();
        QTest::qWait(500);
    }
    return notes;
}

std::shared_ptr<WesternBlotStationTest::Requests> WesternBlotStationTest::histogramRequests()
    const {
    auto requests = std::make_shared<Requests>();
    QObject::connect(image(), &WesternBlot_ImageFrame::sig_UpdateHisto, page.get(),
                     [requests](WesternBlot_FuncsFrameType type, int index) {
                         requests->emplace_back(type, index);
                     });
    return requests;
}
