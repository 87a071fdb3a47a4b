// The main window: page switching from the head bar, the home stack's
// frames, the report menu's toggle, the style sheets of both languages and
// the confirmed exit (power command, cooled camera, audit rows, quit).

#include "DarkroomSimProcess.h"
#include "RP_FuncFrame.h"
#include "SP_FuncFrame.h"
#include "ShownTexts.h"
#include "TestStation.h"
#include "camera/TucsenCamCtrl.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "mainwindow/CI_HeadFrame.h"
#include "mainwindow/CI_MainWidget.h"
#include "mainwindow/HomeFrame.h"
#include "mainwindow/HomePageFrame.h"
#include "mainwindow/RP_MethodFrame.h"
#include "mainwindow/ReportPageFrame.h"
#include "serial/ASyncSerialPortThread.h"
#include "startup/LogHandler.h"
#include "style/StyleSheet.h"

#include <CamCore_control.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const char* const kPages[] = {"frame_HomePage", "frame_ReportPage", "frame_SystemPage",
                              "frame_AuditTrailPage"};
const char* const kFrames[] = {"frame_Home", "frame_Varnu", "frame_WesternBlot", "frame_MultFluore",
                               "frame_ImageProcess"};

// The controller is one per process, its stores bound to the station that
// was current when it was made: one station for the whole executable.
class MainWindowTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        qInstallMessageHandler(outputMessage);
        s_station = new TestStation("mainwindow");
        s_station->writeMachineIni("320");
        s_control = CI_MainControl::getInstance();
        s_control->currentUser->userName = QStringLiteral("operator");
    }
    static void TearDownTestSuite() { qInstallMessageHandler(nullptr); }

    void SetUp() override {
        s_station->setUserOption("LanguageID", 1);
        s_control->expType = Varnu;
        s_control->powerOn = false;
    }

    // Builds the window the way start-up does, with the pages' signals
    // recorded from here on.
    void buildWindow() {
        m_window = std::make_unique<CI_MainWidget>(nullptr);
        m_window->show();
        auto* home = m_window->findChild<HomePageFrame*>("frame_HomePage");
        ASSERT_NE(home, nullptr);
        const std::pair<void (HomePageFrame::*)(), const char*> relayed[] = {
            {&HomePageFrame::exitExperimentFrame, "exitExperiment"},
            {&HomePageFrame::exitImgProcessFrame, "exitImgProcess"},
            {&HomePageFrame::sig_EnterWbFrame, "enterWb"},
            {&HomePageFrame::sig_EnterIPFrame, "enterIP"},
            {&HomePageFrame::sig_EnterVrFrame, "enterVr"},
            {&HomePageFrame::sig_ExitVrFrame, "exitVr"}};
        for (const auto& [signal, name] : relayed) {
            QObject::connect(home, signal, [this, name = name] { note(name); });
        }
        auto* report = m_window->findChild<ReportPageFrame*>("frame_ReportPage");
        ASSERT_NE(report, nullptr);
        QObject::connect(report, &ReportPageFrame::updateButton, [this] { note("updateButton"); });
    }

    QWidget* child(const char* name) const {
        QWidget* widget = m_window->findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QPushButton* button(const char* name) const {
        return m_window->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    // "<page>/<frame>": the page and the home frame not hidden at the moment.
    QString shown() const {
        QString page = "-";
        QString frame = "-";
        for (const char* name : kPages) {
            if (!child(name)->isHidden())
                page = name;
        }
        for (const char* name : kFrames) {
            if (!child(name)->isHidden())
                frame = name;
        }
        return page + "/" + frame;
    }

    void note(const char* name) { m_log << name + (" " + shown()); }

    static TestStation* s_station;
    static CI_MainControl* s_control;
    std::unique_ptr<CI_MainWidget> m_window;
    QStringList m_log;
};

TestStation* MainWindowTest::s_station = nullptr;
CI_MainControl* MainWindowTest::s_control = nullptr;

TEST_F(MainWindowTest, HeadButtonsSwitchPagesWithExitAndEnterSignalsInOrder) {
    buildWindow();
    EXPECT_EQ(shown(), "frame_HomePage/frame_Varnu");
    struct Case {
        const char* button;
        QStringList signalsSeen;
        QString shownAfter;
    };
    const Case cases[] = {
        {"pushButton_Home",
         {"exitImgProcess -/frame_Varnu", "enterVr frame_HomePage/frame_Varnu"},
         "frame_HomePage/frame_Varnu"},
        {"pushButton_Report",
         {"exitImgProcess -/frame_Varnu", "exitExperiment -/frame_Varnu",
          "updateButton frame_ReportPage/frame_Varnu"},
         "frame_ReportPage/frame_Varnu"},
        {"pushButton_System",
         {"exitImgProcess -/frame_Varnu", "exitExperiment -/frame_Varnu"},
         "frame_SystemPage/frame_Varnu"},
        {"pushButton_AuditTrail",
         {"exitImgProcess -/frame_Varnu", "exitExperiment frame_AuditTrailPage/frame_Varnu"},
         "frame_AuditTrailPage/frame_Varnu"},
        // The same page again runs the switch in full.
        {"pushButton_AuditTrail",
         {"exitImgProcess -/frame_Varnu", "exitExperiment frame_AuditTrailPage/frame_Varnu"},
         "frame_AuditTrailPage/frame_Varnu"},
        {"pushButton_Home",
         {"exitImgProcess -/frame_Varnu", "enterVr frame_HomePage/frame_Varnu"},
         "frame_HomePage/frame_Varnu"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        m_log.clear();
        button(c.button)->click();
        EXPECT_EQ(m_log, c.signalsSeen);
        EXPECT_EQ(shown(), c.shownAfter);
    }
}

TEST_F(MainWindowTest, HomeStackSwitchesFramesByFrameId) {
    buildWindow();
    auto* chooser = m_window->findChild<HomeFrame*>("frame_Home");
    ASSERT_NE(chooser, nullptr);
    struct Case {
        FrameID id;
        QStringList signalsSeen;
        const char* frame;
    };
    const Case cases[] = {
        {HomeFrameID, {}, "frame_Home"},
        {VarnuFrameID, {"enterVr frame_HomePage/frame_Varnu"}, "frame_Varnu"},
        {ImageProcessFrameID,
         {"exitVr frame_HomePage/-", "enterIP frame_HomePage/-"},
         "frame_ImageProcess"},
        {WesternBlotFrameID, {"enterWb frame_HomePage/-"}, "frame_WesternBlot"},
        {MultFluoreFrameID, {}, "frame_MultFluore"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.id));
        m_log.clear();
        emit chooser->sig_ChangeFrame(c.id);
        EXPECT_EQ(m_log, c.signalsSeen);
        EXPECT_EQ(shown(), QStringLiteral("frame_HomePage/") + c.frame);
    }
    // Showing an experiment page makes its kind the current experiment type.
    EXPECT_EQ(s_control->expType, MultFluore);

    // From image processing, Home stops it and enters the station's page.
    emit chooser->sig_ChangeFrame(ImageProcessFrameID);
    m_log.clear();
    button("pushButton_Home")->click();
    EXPECT_EQ(m_log, QStringList({"exitImgProcess -/frame_ImageProcess",
                                  "enterVr frame_HomePage/frame_Varnu"}));
}

TEST_F(MainWindowTest, StackStartsOnTheStationsExperimentPageAndHomeReturnsToIt) {
    struct Case {
        int experimentType;
        const char* frame;
        QStringList enterSignals;
    };
    const Case cases[] = {
        {Varnu, "frame_Varnu", {"enterVr frame_HomePage/frame_Varnu"}},
        {WesternBlot, "frame_WesternBlot", {"enterWb frame_HomePage/-"}},
        {MultFluore, "frame_MultFluore", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.experimentType);
        s_control->expType = c.experimentType;
        buildWindow();
        EXPECT_EQ(shown(), QStringLiteral("frame_HomePage/") + c.frame);
        EXPECT_EQ(s_control->expType, c.experimentType);
        button("pushButton_System")->click();
        m_log.clear();
        button("pushButton_Home")->click();
        EXPECT_EQ(m_log,
                  QStringList({QStringLiteral("exitImgProcess -/") + c.frame}) + c.enterSignals);
        EXPECT_EQ(shown(), QStringLiteral("frame_HomePage/") + c.frame);
    }
}

TEST_F(MainWindowTest, ReportManageButtonTogglesAndIsResetByTheHeadBar) {
    buildWindow();
    auto* menu = m_window->findChild<RP_MethodFrame*>("frame_Method");
    ASSERT_NE(menu, nullptr);
    QList<bool> expands;
    QObject::connect(menu, &RP_MethodFrame::sig_ChangeFuncFrame,
                     [&expands](RP_FuncFrameType type, bool expand) {
                         EXPECT_EQ(type, RP_ReportManage);
                         expands << expand;
                     });
    QPushButton* manage = button("pushButton_ReportManage");
    ASSERT_NE(manage, nullptr);
    button("pushButton_Report")->click();
    EXPECT_TRUE(manage->isVisible());
    EXPECT_FALSE(button("pushButton_PrintReport")->isVisible());
    EXPECT_FALSE(button("pushButton_EditReport")->isVisible());
    manage->click();
    manage->click();
    manage->click();
    EXPECT_EQ(expands, QList<bool>({true, false, true}));
    // Choosing the page again unchecks the button and sends nothing, so the
    // next click expands.
    button("pushButton_Report")->click();
    EXPECT_FALSE(manage->isChecked());
    manage->click();
    EXPECT_EQ(expands, QList<bool>({true, false, true, true}));
}

TEST_F(MainWindowTest, WindowIsFramelessWithTheHeadBarOverTheBody) {
    buildWindow();
    EXPECT_TRUE(m_window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(static_cast<int>(m_window->windowFlags() & ~Qt::WindowType_Mask), 0xE800);
    EXPECT_EQ(m_window->minimumSize(), QSize(1024, 728));
    EXPECT_EQ(m_window->windowTitle(), "Varnu Imaging Station");
    QWidget* head = child("frame_Head");
    EXPECT_EQ(head->minimumHeight(), 85);
    EXPECT_EQ(head->maximumHeight(), 85);
    EXPECT_LT(head->geometry().bottom(), child("frame_Body")->geometry().top());
    for (const char* name : {"pushButton_Home", "pushButton_Report", "pushButton_AuditTrail",
                             "pushButton_System", "pushButton_Exit"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(button(name)->text().isEmpty());
        EXPECT_NE(button(name)->graphicsEffect(), nullptr);
    }
}

TEST_F(MainWindowTest, ChooserOffersOnlyTheCurrentExperimentToUsersWhoMayCapture) {
    buildWindow();
    auto* chooser = m_window->findChild<HomeFrame*>("frame_Home");
    ASSERT_NE(chooser, nullptr);
    const char* const buttons[] = {"pushButton_Varnu", "pushButton_WesternBlot",
                                   "pushButton_MultFluore"};
    for (bool mayCapture : {true, false}) {
        for (int type : {Varnu, WesternBlot, MultFluore}) {
            SCOPED_TRACE(
                QString("type %1, may capture %2").arg(type).arg(mayCapture).toStdString());
            s_control->currentUser->authImgCap = mayCapture;
            s_control->expType = type;
            emit chooser->sig_ChangeFrame(HomeFrameID);
            ASSERT_EQ(shown(), "frame_HomePage/frame_Home");
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(button(buttons[i])->isEnabled(), mayCapture && i == type) << buttons[i];
            }
            emit chooser->sig_ChangeFrame(VarnuFrameID);
        }
    }
    // Its buttons lead to their experiment page.
    emit chooser->sig_ChangeFrame(HomeFrameID);
    m_log.clear();
    s_control->currentUser->authImgCap = true;
    s_control->expType = WesternBlot;
    emit chooser->sig_ChangeFrame(HomeFrameID);
    button("pushButton_WesternBlot")->click();
    EXPECT_EQ(m_log, QStringList({"enterWb frame_HomePage/-"}));
    EXPECT_EQ(shown(), "frame_HomePage/frame_WesternBlot");
}

using MainWindowDeathTest = MainWindowTest;

TEST_F(MainWindowDeathTest, ImpossibleNumbersEndTheProgram) {
    // Fatal messages reach stderr, where the death test reads them.
    qInstallMessageHandler(nullptr);
    buildWindow();
    auto* head = m_window->findChild<CI_HeadFrame*>("frame_Head");
    auto* chooser = m_window->findChild<HomeFrame*>("frame_Home");
    auto* reportFunc = m_window->findChild<RP_FuncFrame*>("frame_Func");
    auto* systemFunc = child("frame_SystemPage")->findChild<SP_FuncFrame*>("frame_Func");
    ASSERT_TRUE(head && chooser && reportFunc && systemFunc);
    EXPECT_DEATH(emit head->sig_ChangePage(static_cast<PageType>(4)), "Unknow PageType\\.");
    EXPECT_DEATH(emit chooser->sig_ChangeFrame(static_cast<FrameID>(5)), "Unknow FrameID\\.");
    EXPECT_DEATH(reportFunc->slot_ChangeFuncFrame(static_cast<RP_FuncFrameType>(2), false),
                 "Unknow RP_FuncFrameType\\.");
    EXPECT_DEATH(systemFunc->slot_ChangeFuncFrame(static_cast<SP_FuncFrameType>(5)),
                 "Unknow SP_FuncFrameType\\.");
    EXPECT_DEATH(readLanguageStyleSheet("headframe", 2), "Unknow LanguageID\\.");
    s_control->expType = 3;
    EXPECT_DEATH(emit chooser->sig_ChangeFrame(HomeFrameID), "Unknow ExperimentType\\.");
    qInstallMessageHandler(outputMessage);
}

// The pictures a style sheet names, each of them a resource of the program.
QStringList missingPictures(const QString& sheet) {
    QStringList missing;
    const QRegularExpression url(QStringLiteral("url\\((:/[^)]+)\\)"));
    for (auto it = url.globalMatch(sheet); it.hasNext();) {
        const QString path = it.next().captured(1);
        if (!QFile::exists(path))
            missing << path;
    }
    return missing;
}

TEST_F(MainWindowTest, BothLanguagesLoadTheirSheetsAndPictures) {
    const std::pair<const char*, const char*> sheets[] = {
        {"frame_Head", "home_normal"},
        {"frame_Home", "varNU_gray"},
        {"frame_ReportPage", "reportManage_pressed"},
        {"frame_SystemPage", "userManage_pressed"}};
    for (int language : {0, 1}) {
        SCOPED_TRACE(language);
        s_station->setUserOption("LanguageID", language);
        buildWindow();
        for (const auto& [name, picture] : sheets) {
            SCOPED_TRACE(name);
            const QString sheet = child(name)->styleSheet();
            EXPECT_TRUE(sheet.contains("QPushButton")) << sheet.toStdString();
            if (picture != nullptr) {
                const QString suffix = language == 1 ? "_en.png" : ".png";
                EXPECT_TRUE(sheet.contains(QString::fromLatin1(picture) + suffix));
            }
            EXPECT_EQ(sheet.contains("_en.png"), language == 1 && picture != nullptr);
            EXPECT_EQ(missingPictures(sheet), QStringList());
        }
    }
    EXPECT_EQ(missingPictures(readStyleSheet(":/Style/base.css")), QStringList());
    EXPECT_TRUE(QFile::exists(":/Image/windowLogo.png"));
    EXPECT_TRUE(QFile::exists(":/Image/LOGO.png"));
}

TEST_F(MainWindowTest, LanguageChangeSwapsPicturesAndTextsWithoutRebuilding) {
    buildWindow();
    QWidget* head = child("frame_Head");
    QWidget* blotPage = child("frame_WesternBlot");
    auto* notice = blotPage->findChild<QLabel*>("label_Temp");
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->text(), "CCD Temp:");
    EXPECT_TRUE(blotPage->styleSheet().contains("export_normal_en.png"));
    EXPECT_TRUE(head->styleSheet().contains("home_normal_en.png"));

    s_control->changeLanguage(0);
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(head->styleSheet().contains("_en.png"));
    EXPECT_TRUE(head->styleSheet().contains("home_normal.png"));
    EXPECT_EQ(notice->text(), QStringLiteral("CCD温度:"));
    EXPECT_FALSE(blotPage->styleSheet().contains("_en.png"));

    s_control->changeLanguage(1);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(head->styleSheet().contains("home_normal_en.png"));
    EXPECT_EQ(notice->text(), "CCD Temp:");
}

// A language change reaches every text of the window, on every page, shown
// or not, both ways: none stays as it was in the other language.
TEST_F(MainWindowTest, LanguageChangeReachesEveryTextOfEveryPage) {
    for (int first : {1, 0}) {
        SCOPED_TRACE(first);
        const int second = 1 - first;
        s_control->changeLanguage(first);
        buildWindow();
        const QMap<QString, QString> before = showntexts::of(m_window.get());
        EXPECT_GT(before.size(), 100);
        s_control->changeLanguage(second);
        QCoreApplication::sendPostedEvents();
        const QStringList same = showntexts::unchanged(before, showntexts::of(m_window.get()));
        EXPECT_TRUE(same.isEmpty()) << same.size() << " texts stayed:\n"
                                    << same.join('\n').toStdString();
        m_window.reset();
    }
    s_control->changeLanguage(1);
}

// Clicks the button with `text` of the next message box that shows up, and
// records the box's title and text.
class MessageBoxAnswer : public QObject {
  public:
    explicit MessageBoxAnswer(QString text) : m_text(std::move(text)) {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible())
                return;
            m_timer.stop();
            seen = box->windowTitle() + "|" + box->text();
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == m_text) {
                    QTimer::singleShot(0, b, &QAbstractButton::click);
                    return;
                }
            }
            QTimer::singleShot(0, box, &QMessageBox::reject);
        });
        m_timer.start(20);
    }
    QString seen;

  private:
    QString m_text;
    QTimer m_timer;
};

TEST_F(MainWindowTest, ExitAsksThenSwitchesPowerOffRecordsAndQuits) {
    DarkroomSimProcess sim("exit-link");
    ASSERT_TRUE(sim.start());
    s_control->ConnectToPort(sim.linkPath());
    ASSERT_TRUE(waitUntil([&] { return s_control->serialPortThread->isRunning(); }, 3000));

    auto rows = [](int language) {
        return s_control->auditTrailDB->loadAuditTrail(AuditTrailDB::kAnyPage, "operator", "", "",
                                                       0, 0, language);
    };
    auto powerBytesSeen = [&] {
        int count = 0;
        for (const SimJournalEntry& entry : sim.journal()) {
            if (entry.kind == "raw" && entry.bytes == QByteArray(1, '\x02'))
                ++count;
        }
        return count;
    };

    struct Case {
        const char* answer;
        bool powerOn;
        bool quits;
    };
    const Case cases[] = {{"No", true, false}, {"Yes", false, true}, {"Yes", true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.answer) + (c.powerOn ? " power on" : " power off"));
        sim.command("clear");
        s_control->powerOn = true;
        const int chineseRows = rows(0).size();
        const int englishRows = rows(1).size();
        buildWindow();
        // The gel/UV capture panel asks for the power status when it is
        // built, and the answer (off) clears powerOn; the case's state comes
        // after it.
        ASSERT_TRUE(waitUntil([] { return !s_control->powerOn; }, 3000));
        s_control->powerOn = c.powerOn;

        MessageBoxAnswer answer(c.answer);
        // The application's own loop: a quit ends it, and it starts afresh
        // for the next case.
        QTimer noQuit;
        noQuit.setSingleShot(true);
        QObject::connect(&noQuit, &QTimer::timeout, [] { QCoreApplication::exit(7); });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(9); });
        QTimer::singleShot(0, [&] {
            button("pushButton_Exit")->click();
            // Still running a moment after the slot returned: no quit.
            noQuit.start(200);
        });
        guard.start(10000);
        const int result = QApplication::exec();
        noQuit.stop();
        guard.stop();

        EXPECT_EQ(answer.seen, "Tips|Do you really want exit ?");
        EXPECT_EQ(result, c.quits ? 0 : 7);
        const int expectedRows = c.quits ? 1 : 0;
        ASSERT_EQ(rows(0).size(), chineseRows + expectedRows);
        ASSERT_EQ(rows(1).size(), englishRows + expectedRows);
        if (c.quits) {
            EXPECT_EQ(rows(0).first().content, QStringLiteral("退出系统"));
            EXPECT_EQ(rows(1).first().content, "Exit System");
            EXPECT_EQ(rows(1).first().model, AuditTrailDB::pageName(SystemPage, 1));
        }
        // The sequence waits a full second after sending; a power command is
        // on the line by the time it quits.
        EXPECT_EQ(powerBytesSeen(), c.quits && c.powerOn ? 1 : 0);
    }
    s_control->serialPortThread->closePort();
    s_control->serialPortThread->wait(3000);
}

TEST_F(MainWindowTest, ExitSuspendsResetsAndReleasesTheCooledCamera) {
    struct Case {
        bool started;
        const char* calls;
    };
    const Case cases[] = {
        {true, "DeviceState -> 1\nSuspendDevice -> 0\nResetDevice -> 0\nExitDevice -> 0\n"},
        // A camera that never started answers each call with an error.
        {false, "DeviceState -> -1\nResetDevice -> -1\nExitDevice -> -1\n"}};
    TucsenCamCtrl* camera = s_control->tucsenCamCtrl;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.started);
        camsim_reset("width=64,height=32,time_scale=0");
        if (c.started) {
            ASSERT_EQ(camera->initDevice("./"), 0);
            camera->deviceName = QByteArray(camera->deviceNameAt(0));
            ASSERT_EQ(camera->resumeDevice(), 0);
        }
        camera->stopFlag = false;
        s_control->powerOn = false;
        buildWindow();
        // Only what the exit does: building the window reads the camera too.
        camsim_clear_journal();

        MessageBoxAnswer answer("Yes");
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(9); });
        QTimer::singleShot(0, [&] { button("pushButton_Exit")->click(); });
        guard.start(10000);
        EXPECT_EQ(QApplication::exec(), 0);
        guard.stop();

        EXPECT_TRUE(camera->stopFlag);
        const int length = camsim_journal(nullptr, 0);
        QByteArray calls(length + 1, '\0');
        camsim_journal(calls.data(), length + 1);
        EXPECT_EQ(calls.left(length).toStdString(), c.calls);
    }
    camsim_reset(nullptr);
}

}  // namespace
