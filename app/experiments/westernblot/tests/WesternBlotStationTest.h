// One western-blot station for a whole test executable (the controller is
// one per process): model 320 with ExperimentType 1, English, a storage
// path, the dark-room simulator on a pseudo-terminal and the simulated
// cooled camera. Each test gets a fresh page over a started camera.
#pragma once

#include "DarkroomSimProcess.h"
#include "TestStation.h"
#include "WesternBlotFrame.h"
#include "WesternBlot_FuncsFrameType.h"
#include "database/UserInfo.h"

#include <QStringList>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

class CI_MainControl;
class TucsenCamCtrl;
class WesternBlot_ImageFrame;

class WesternBlotStationTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    static TestStation& station();
    static CI_MainControl* control();
    static DarkroomSimProcess& darkroom();
    static TucsenCamCtrl* camera();

    WesternBlot_ImageFrame* image() const { return page->imageFrame(); }
    template <typename T>
    static T* child(const QWidget* root, const char* name) {
        T* found = root->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString position() const;
    bool pagingShown() const;
    // Enters the page and waits for the live picture.
    void enterPage();
    static void setManualSeries(const QList<QStringList>& entries);
    static void setExpTime(int ms);
    static int tifsIn(const QString& folder);
    // The blot-light notes of the dark room's journal since its last clear,
    // once the line has been quiet for a moment.
    static QStringList lightNotes();

    // The histogram requests of the image frame (capture mode, picture).
    using Requests = std::vector<std::pair<int, int>>;
    std::shared_ptr<Requests> histogramRequests() const;

    UserInfo user;
    std::unique_ptr<WesternBlotFrame> page;
};
