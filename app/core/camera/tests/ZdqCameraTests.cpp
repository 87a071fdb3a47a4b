// The USB camera back-end on the real SDK over the simulated cameras: what the
// preview and capture threads program, the pictures and rows a capture leaves,
// and what happens without a camera or with a failing frame.
#include "EventWait.h"
#include "GelTiff.h"
#include "ModalDriver.h"
#include "TestStation.h"
#include "camera/GelPictureFiles.h"
#include "camera/PreviewSurface.h"
#include "camera/ScreenBlend.h"
#include "camera/ZdqCameraCtrl.h"
#include "camera/ZdqCaptureThread.h"
#include "camera/ZdqFieldOfView.h"
#include "camera/ZdqPreviewThread.h"
#include "controller/CI_MainControl.h"
#include "database/Varnu_ExperimentDB.h"
#include "mlusbimager_control.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int kMono1280 = 1;
constexpr int kMono2592 = 9;

// One station for the process: the controller is created once.
TestStation& station() {
    static TestStation* s = new TestStation(QStringLiteral("camera"));
    return *s;
}

CI_MainControl* controller() {
    station();
    return CI_MainControl::getInstance();
}

class ZdqCameraTest : public testing::Test {
  protected:
    void SetUp() override {
        control = controller();
        camera = control->zdqCameraCtrl;
        ZdqCamSet& set = control->camOpt.zdqCurrentCamSet;
        set = ZdqCamSet();
        set.Exposure = 300;
        set.Gain = 8;
        set.Contrast = 10;
        set.BrightNess = 25;
        set.Gamma = 0;
        set.SignalAccNum = 2;
        control->camOpt.saveZdqCurrentCamSet();
        control->userOpt.storagePath = station().filePath(QStringLiteral("store"));
        control->userOpt.saveUserOpt(UserOpt_storagePath);
        control->userOpt.curExpNum = 7;
        control->userOpt.saveUserOpt(UserOpt_curExpNum);
    }
    void TearDown() override {
        camera->ZDQ_UnInit();
        mlsim_unplug_all();
    }

    void plug(int type, int content = MLSIM_CONTENT_SCENE) {
        MlSimProfile profile{};
        mlsim_profile_default(type, &profile);
        profile.content = content;
        profile.timing = MLSIM_TIMING_INSTANT;
        ASSERT_EQ(mlsim_plug(0, &profile), 1);
    }
    void setResolution(int resolution) {
        control->camOpt.zdqCurrentCamSet.Resolution = resolution;
        control->camOpt.saveZdqCurrentCamSet();
    }
    // A row of today, as the image frame makes it before a capture.
    VarnuExperiment insertRow() {
        VarnuExperiment row;
        row.name = QStringLiteral("Varnu007");
        row.dateTime = QDateTime::currentDateTime();
        row.picSavedPath = GelPictureFiles::stationFolder(row.dateTime.date());
        EXPECT_TRUE(control->varnuExperimentDB->insertExperiment(row));
        camera->curExpName = row.name;
        return row;
    }
    QString stationPicture(const VarnuExperiment& row) const {
        return GelPictureFiles::stationFolder(row.dateTime.date()) + QStringLiteral("007.tif");
    }
    QString storagePicture(const VarnuExperiment& row) const {
        return GelPictureFiles::storageFolder(station().filePath(QStringLiteral("store")),
                                              row.dateTime.date()) +
               QStringLiteral("007.tif");
    }

    CI_MainControl* control = nullptr;
    ZdqCameraCtrl* camera = nullptr;
};

// ---- Preview ------------------------------------------------------------------

struct PreviewCase {
    int machine;
    int type;
    int resolution;
    int mode;
    int width;
    int height;
};

TEST_F(ZdqCameraTest, PreviewProgramsWindowModeExposureAndGainAndFramesReachTheSurface) {
    const PreviewCase cases[] = {
        {Varnu_320, kMono1280, 0, 0, 1064, 850},  {Varnu_320, kMono1280, 1, 1, 532, 425},
        {Varnu_320, kMono1280, 2, 3, 266, 212},   {Varnu_320, kMono1280, 3, 4, 133, 106},
        {Varnu_520, kMono2592, 0, 0, 2592, 1944}, {Varnu_550, kMono2592, 1, 1, 1296, 972},
        {Varnu_520, kMono2592, 2, 3, 648, 486},   {Varnu_550, kMono2592, 3, 4, 324, 243},
    };
    for (const PreviewCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "model " << c.machine << " resolution " << c.resolution);
        plug(c.type);
        control->machineName = c.machine;
        setResolution(c.resolution);
        PreviewSurface surface;
        surface.resize(400, 300);
        ZdqPreviewThread thread;
        thread.setPreviewWindow(surface.handle(), 400, 300);
        thread.start();
        ASSERT_TRUE(thread.wait(10000));

        int col = 0, row = 0, cols = 0, rows = 0, modeCol = -1, modeRow = -1;
        camera->ZDQ_PreviewGetFieldOfView(0, &col, &row, &cols, &rows, &modeCol, &modeRow);
        EXPECT_EQ(modeCol, c.mode);
        EXPECT_EQ(modeRow, c.mode);
        int previewWidth = 0, previewHeight = 0;
        camera->ZDQ_PreviewGetSize(0, &previewWidth, &previewHeight);
        MlSimFrameInfo info{};
        ASSERT_EQ(mlsim_frame_info(0, &info), 1);
        // The camera sends what the SDK announced; the sensor aligns the
        // decimated sizes to its own steps, so they may fall short of the
        // nominal table by a few pixels.
        EXPECT_EQ(info.width, previewWidth);
        EXPECT_EQ(info.height, previewHeight);
        EXPECT_LE(info.width, c.width);
        EXPECT_GT(info.width, c.width - 8);
        EXPECT_LE(info.height, c.height);
        EXPECT_GT(info.height, c.height - 8);
        if (c.machine == Varnu_320) {
            EXPECT_EQ(info.col_start, 108);
            EXPECT_EQ(info.row_start, 87);
        } else {
            // The window reaches past the sensor: the SDK moves it back.
            EXPECT_EQ(info.col_start, 0);
            EXPECT_EQ(info.row_start, 0);
        }
        int exposure = 0, gain = 0;
        camera->ZDQ_GetParam(0, ZDQ_EXPOSURE, &exposure);
        camera->ZDQ_GetParam(0, ZDQ_RED, &gain);
        EXPECT_EQ(gain, 8);
        // The exposure is sent before the window: the 1280 x 1024 sensor keeps
        // its exposure lines, which are shorter while it skips.
        if (c.resolution == 0) {
            EXPECT_EQ(exposure, 300);
            EXPECT_NEAR(info.exposure_ms, 300.0, 3.0);
        }

        ASSERT_TRUE(waitFor([&] { return surface.framesReceived() >= 2; }, 10000));
        EXPECT_EQ(surface.lastFrame().size(), QSize(400, 300));
        camera->ZDQ_PreviewStart(0, false);
        camera->ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

TEST_F(ZdqCameraTest, PreviewWithoutCameraWarnsOnceAndSendsNothing) {
    control->machineName = Varnu_320;
    ModalDriver driver;
    driver.answerMessageBox(QMessageBox::Ok);
    ZdqPreviewThread thread;
    thread.setPreviewWindow(0, 400, 300);
    thread.start();
    ASSERT_TRUE(thread.wait(10000));
    ASSERT_TRUE(waitFor([&] { return driver.pendingSteps() == 0; }, 5000));
    EXPECT_EQ(driver.messages(), QStringList{QStringLiteral("Warning|ZdqCamera connect error.")});
    int exposure = 0;
    EXPECT_LT(camera->ZDQ_GetParam(0, ZDQ_EXPOSURE, &exposure), 0);
}

TEST(ZdqFieldOfViewDeathTest, ResolutionFourIsFatal) {
    EXPECT_DEATH(ZdqFieldOfView::addressingMode(Varnu_520, 4), "Unknow ZdqPelion5MResolution.");
    EXPECT_DEATH(ZdqFieldOfView::addressingMode(Varnu_320, 4), "Unknow ZdqPelion1MResolution.");
}

// ---- Capture --------------------------------------------------------------------

TEST(ScreenBlendTest, Table) {
    struct Case {
        uint8_t old, fresh, blended;
    };
    const Case cases[] = {{128, 128, 191}, {1, 0, 0},       {128, 0, 128},
                          {0, 255, 255},   {200, 255, 255}, {0, 0, 0}};
    for (const Case& c : cases) {
        uint8_t accumulated = c.old;
        screenBlend(&accumulated, &c.fresh, 1);
        EXPECT_EQ(accumulated, c.blended) << int(c.old) << " under " << int(c.fresh);
    }
}

TEST_F(ZdqCameraTest, CaptureWritesTwoRotatedTiffsAndCompletesTheRow) {
    plug(kMono1280);
    control->machineName = Varnu_320;
    setResolution(1);
    const VarnuExperiment row = insertRow();
    ZdqCaptureThread thread;
    thread.setExperiment(row.uuid, row.dateTime.date());
    thread.start();
    ASSERT_TRUE(thread.wait(20000));
    ASSERT_TRUE(thread.captured());

    ASSERT_NE(camera->frameBuffer, nullptr);
    EXPECT_EQ(camera->frameWidth, 532);
    EXPECT_EQ(camera->frameHeight, 425);
    const size_t count = static_cast<size_t>(camera->frameWidth) * camera->frameHeight;
    std::vector<uint8_t> rotated(camera->frameBuffer, camera->frameBuffer + count);
    std::reverse(rotated.begin(), rotated.end());
    for (const QString& path : {stationPicture(row), storagePicture(row)}) {
        SCOPED_TRACE(path.toStdString());
        const GelTiff tiff = readGelTiff(path);
        ASSERT_TRUE(tiff.valid);
        EXPECT_EQ(tiff.width, 532);
        EXPECT_EQ(tiff.height, 425);
        EXPECT_EQ(tiff.bitsPerSample, 8);
        EXPECT_EQ(tiff.compression, 1);
        EXPECT_EQ(tiff.resolutionUnit, 2);
        EXPECT_FLOAT_EQ(tiff.xResolution, 600.0f);
        EXPECT_FLOAT_EQ(tiff.yResolution, 600.0f);
        EXPECT_TRUE(tiff.pixels == rotated);
    }
    const auto stored = control->varnuExperimentDB->loadByUuid(row.uuid);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->exposureTime, QStringLiteral("300,"));
    EXPECT_EQ(stored->gain, QStringLiteral("8,"));
}

TEST_F(ZdqCameraTest, AutomaticExposureResultIsCapturedAndRecorded) {
    plug(kMono1280);
    control->machineName = Varnu_320;
    setResolution(0);
    const VarnuExperiment row = insertRow();
    ZdqCaptureThread thread;
    thread.setExperiment(row.uuid, row.dateTime.date());
    thread.setExpTime(450);
    thread.start();
    ASSERT_TRUE(thread.wait(20000));
    MlSimFrameInfo info{};
    mlsim_frame_info(0, &info);
    EXPECT_NEAR(info.exposure_ms, 450.0, 4.5);
    EXPECT_EQ(control->varnuExperimentDB->loadByUuid(row.uuid)->exposureTime,
              QStringLiteral("450,"));
}

TEST_F(ZdqCameraTest, AccumulationBlendsItsFramesAndAStopEndsItAfterTheFirst) {
    plug(kMono1280);
    control->machineName = Varnu_320;
    control->camOpt.zdqCurrentCamSet.SignalAccNum = 3;
    control->camOpt.saveZdqCurrentCamSet();
    for (bool stop : {false, true}) {
        SCOPED_TRACE(stop ? "stopped" : "whole");
        const VarnuExperiment row = insertRow();
        ZdqCaptureThread thread;
        thread.setExperiment(row.uuid, row.dateTime.date());
        thread.setAccCapture(true);
        thread.setStopFlag(stop);
        thread.start();
        ASSERT_TRUE(thread.wait(30000));
        EXPECT_TRUE(thread.captured());
        EXPECT_EQ(thread.framesTaken(), stop ? 1 : 3);
        EXPECT_TRUE(QFile::exists(stationPicture(row)));
        EXPECT_TRUE(QFile::exists(storagePicture(row)));
    }
}

TEST_F(ZdqCameraTest, NoCameraOrAFailedFirstFrameWritesNothingAndRemovesTheRow) {
    control->machineName = Varnu_320;
    for (bool withCamera : {false, true}) {
        SCOPED_TRACE(withCamera ? "failed frame" : "no camera");
        if (withCamera) {
            plug(kMono1280);
            ASSERT_EQ(mlsim_fault_add(0, MLSIM_FAULT_READ_IO_ERROR, MLSIM_MATCH_ANY, 0, -1, 0), 1);
        }
        const VarnuExperiment row = insertRow();
        QDir(GelPictureFiles::stationFolder(row.dateTime.date())).removeRecursively();
        ModalDriver driver;
        driver.answerMessageBox(QMessageBox::Ok);
        ZdqCaptureThread thread;
        thread.setExperiment(row.uuid, row.dateTime.date());
        thread.start();
        ASSERT_TRUE(thread.wait(60000));
        EXPECT_FALSE(thread.captured());
        ASSERT_TRUE(waitFor([&] { return driver.pendingSteps() == 0; }, 5000));
        EXPECT_EQ(driver.messages().value(0),
                  withCamera ? QStringLiteral("Warning|ZdqCamera capture error.")
                             : QStringLiteral("Warning|ZdqCamera connect error."));
        EXPECT_FALSE(QFile::exists(stationPicture(row)));
        EXPECT_EQ(camera->frameBuffer, nullptr);
        EXPECT_FALSE(control->varnuExperimentDB->loadByUuid(row.uuid));
        mlsim_unplug_all();
    }
}

}  // namespace
