// Quick page changes through the head bar on a station whose experiment page
// previews: the event loop never stalls for longer than a frame, no message
// appears, and the live preview runs again after each return to Home. Built
// once per station kind (PAGE_SWITCH_GEL_STATION: gel/UV over the simulated
// USB camera; otherwise western blot over the simulated cooled camera).

#include "StallMeter.h"
#include "TestStation.h"
#include "base/Enumerations.h"
#include "camera/PreviewSurface.h"
#include "camera/TucsenCamCtrl.h"
#include "controller/CI_MainControl.h"
#include "database/UserInfo.h"
#include "mainwindow/CI_MainWidget.h"
#include "widgets/InitialDialog.h"

#include <CamCore_control.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace {

// Answers and records every message box of the application.
class MessageWatch : public QObject {
  public:
    MessageWatch() {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(widget);
                if (box && box->isVisible()) {
                    messages << box->text();
                    box->accept();
                }
            }
        });
        m_timer.start(20);
    }
    QStringList messages;

  private:
    QTimer m_timer;
};

bool busyDialogOpen() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<InitialDialog*>(widget) && widget->isVisible()) {
            return true;
        }
    }
    return false;
}

#ifdef PAGE_SWITCH_GEL_STATION
constexpr int kStationType = Varnu;
#else
constexpr int kStationType = WesternBlot;
#endif

class PageSwitchTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_station = new TestStation(QStringLiteral("pageswitch"));
        s_station->writeMachineIni(QStringLiteral("320"), kStationType);
        s_station->setUserOption(QStringLiteral("LanguageID"), 1);
        s_control = CI_MainControl::getInstance();
        s_control->currentUser->userName = QStringLiteral("operator");
        s_control->machineName = Varnu_320;
        ZdqCamSet& set = s_control->camOpt.zdqCurrentCamSet;
        set = ZdqCamSet();
        set.Exposure = 100;
        set.Gain = 8;
        EXPECT_TRUE(s_control->camOpt.saveZdqCurrentCamSet());
    }

    QPushButton* button(const char* name) const {
        auto* found = m_window->findChild<QPushButton*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // A count that grows while the station's live preview delivers frames.
    static int framesShown(CI_MainWidget* window) {
#ifdef PAGE_SWITCH_GEL_STATION
        auto* surface = window->findChild<PreviewSurface*>();
        return surface ? surface->framesReceived() : 0;
#else
        (void)window;
        return camsim_frames_decoded();
#endif
    }

    // The western-blot page's light button on show.
    bool blotLightOn() const {
        for (QPushButton* light : m_window->findChildren<QPushButton*>("pushButton_Light")) {
            if (light->isVisible()) {
                return light->isChecked();
            }
        }
        return false;
    }

    static TestStation* s_station;
    static CI_MainControl* s_control;
    std::unique_ptr<CI_MainWidget> m_window;
};

TestStation* PageSwitchTest::s_station = nullptr;
CI_MainControl* PageSwitchTest::s_control = nullptr;

TEST_F(PageSwitchTest, QuickSwitchesNeverStallAndThePreviewComesBack) {
    struct Case {
        const char* name;
        int exposureMs;
        // The camera refuses to suspend, so each read in progress lasts its
        // whole exposure after the preview was told to stop.
        bool suspendRefused;
    };
    const Case cases[] = {{"first-start preview", 200, false},
                          {"long preview exposure", 1500, false},
                          {"reads that finish their exposure", 600, true}};
    const char* const switches[] = {
        "pushButton_Home",       "pushButton_Report",     "pushButton_Home",
        "pushButton_System",     "pushButton_Home",       "pushButton_AuditTrail",
        "pushButton_Report",     "pushButton_Home",       "pushButton_Home",
        "pushButton_System",     "pushButton_AuditTrail", "pushButton_Home",
        "pushButton_Report",     "pushButton_System",     "pushButton_Home",
        "pushButton_AuditTrail", "pushButton_Home",       "pushButton_Report",
        "pushButton_Home",       "pushButton_Home"};
    std::printf("%-34s %8s %8s %9s\n", "case", "switches", "returns", "stall ms");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray config = "width=64,height=32,time_scale=1,noise=0";
        camsim_reset(config.constData());
        if (kStationType == WesternBlot) {
            TucsenCamCtrl* camera = s_control->tucsenCamCtrl;
            ASSERT_EQ(camera->initDevice("./"), 0);
            camera->deviceName = QByteArray(camera->deviceNameAt(0));
            ASSERT_TRUE(camera->initBuffers());
            s_control->camOpt.loadTucsenCurrentCamSet();
            s_control->camOpt.tucsenCurrentCamSet.ExposurePre = c.exposureMs;
            EXPECT_TRUE(s_control->camOpt.saveTucsenCurrentCamSet());
            if (c.suspendRefused) {
                camsim_fail("SuspendDevice", -1, -1);
            }
        } else if (c.suspendRefused) {
            continue;
        } else {
            s_control->camOpt.zdqCurrentCamSet.Exposure = c.exposureMs;
            EXPECT_TRUE(s_control->camOpt.saveZdqCurrentCamSet());
        }
        s_control->expType = kStationType;
        MessageWatch watch;
        m_window = std::make_unique<CI_MainWidget>(nullptr);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return framesShown(m_window.get()) > 0 && !busyDialogOpen(); }, 5000));

        StallMeter meter;
        meter.start();
        int returns = 0;
        const int count = static_cast<int>(std::size(switches));
        for (int i = 0; i < count; ++i) {
            const std::string name = switches[i];
            SCOPED_TRACE(name);
            // A user reaches the head bar only when no busy dialog covers it.
            ASSERT_TRUE(QTest::qWaitFor([] { return !busyDialogOpen(); }, 5000));
            const int before = framesShown(m_window.get());
            button(name.c_str())->click();
            QTest::qWait(30);
            // Home pressed twice in a row goes on at once.
            const bool homeNext = i + 1 < count && std::string(switches[i + 1]) == name;
            if (name == "pushButton_Home" && !homeNext) {
                ++returns;
                EXPECT_TRUE(
                    QTest::qWaitFor([&] { return framesShown(m_window.get()) > before + 1; },
                                    4 * c.exposureMs + 3000))
                    << "no live frames after the return";
                if (kStationType == WesternBlot) {
                    EXPECT_TRUE(blotLightOn()) << "the preview runs without its light";
                }
            }
        }
        const qint64 stall = meter.longestStallMs();
        std::printf("%-34s %8zu %8d %9lld\n", c.name, std::size(switches), returns,
                    static_cast<long long>(stall));
        EXPECT_LT(stall, kStallBoundMs);
        EXPECT_TRUE(watch.messages.isEmpty())
            << watch.messages.join(QStringLiteral(" | ")).toStdString();

        camsim_fail("SuspendDevice", 0, 0);
        m_window.reset();
    }
    camsim_reset(nullptr);
}

}  // namespace
