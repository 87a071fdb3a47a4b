// The USB camera back-end on the real SDK over the simulated cameras: what the
// preview and capture threads program, the pictures and rows a capture leaves,
// and what happens without a camera, with a failing frame, with pictures that
// cannot be written and with picture names that are taken.
#include "EventWait.h"
#include "FileSizeLimit.h"
#include "GelTiff.h"
#include "ModalDriver.h"
#include "TestStation.h"
#include "base/Enumerations.h"
#include "camera/GelPictureFiles.h"
#include "camera/PictureCopies.h"
#include "camera/PreviewSurface.h"
#include "camera/ScreenBlend.h"
#include "camera/UncompressedTiff.h"
#include "camera/ZdqCameraCtrl.h"
#include "camera/ZdqCaptureThread.h"
#include "camera/ZdqFieldOfView.h"
#include "camera/ZdqPreviewThread.h"
#include "controller/CI_MainControl.h"
#include "database/Varnu_ExperimentDB.h"
#include "mlusbimager_control.h"
#include "startup/LogHandler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <opencv2/core.hpp>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <limits>
#include <memory>

namespace {

constexpr int kMono1280 = 1;
constexpr int kMono2592 = 9;
// A monochrome camera that can send 16-bit data.
constexpr int kMonoSixteenBits = 47;

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
        EXPECT_TRUE(control->camOpt.saveZdqCurrentCamSet());
        control->userOpt.storagePath = station().filePath(QStringLiteral("store"));
        EXPECT_TRUE(control->userOpt.saveUserOpt(UserOpt_storagePath));
        control->userOpt.curExpNum = 7;
        EXPECT_TRUE(control->userOpt.saveUserOpt(UserOpt_curExpNum));
        // Every test starts from a day without pictures.
        QDir(GelPictureFiles::stationFolder(QDate::currentDate())).removeRecursively();
        QDir(station().filePath(QStringLiteral("store"))).removeRecursively();
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
        EXPECT_TRUE(control->camOpt.saveZdqCurrentCamSet());
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
    static QString stationFolder() { return GelPictureFiles::stationFolder(QDate::currentDate()); }
    static QString storageFolder() {
        return GelPictureFiles::storageFolder(station().filePath(QStringLiteral("store")),
                                              QDate::currentDate());
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
    // 300 ms is more than the skipping sensor takes at this resolution.
    EXPECT_EQ(stored->exposureTime, QStringLiteral("265,"));
    EXPECT_EQ(stored->gain, QStringLiteral("8,"));
}

TEST_F(ZdqCameraTest, AutomaticExposureResultIsCapturedAndRecorded) {
    plug(kMono1280);
    control->machineName = Varnu_320;
    setResolution(0);
    const VarnuExperiment row = insertRow();
    ZdqCaptureThread thread;
    thread.setExperiment(row.uuid, row.dateTime.date());
    thread.setExpTime(420);
    thread.start();
    ASSERT_TRUE(thread.wait(20000));
    MlSimFrameInfo info{};
    mlsim_frame_info(0, &info);
    EXPECT_NEAR(info.exposure_ms, 420.0, 4.2);
    EXPECT_EQ(control->varnuExperimentDB->loadByUuid(row.uuid)->exposureTime,
              QStringLiteral("420,"));
}

// A camera whose stored settings switch 16-bit data on still gives the
// station a picture of 8-bit samples, in a buffer of one byte a pixel.
TEST_F(ZdqCameraTest, ACameraStoredWithSixteenBitDataGivesAnEightBitPicture) {
    MlSimProfile profile{};
    mlsim_profile_default(kMonoSixteenBits, &profile);
    profile.content = MLSIM_CONTENT_PATTERN;
    profile.timing = MLSIM_TIMING_INSTANT;
    profile.eeprom_kind = 1;
    ASSERT_EQ(mlsim_plug(0, &profile), 1);
    ASSERT_EQ(camera->ZDQ_Init(), 1);
    ASSERT_EQ(ZDQ_SetData16Bits(0, true), 1);
    ASSERT_EQ(ZDQ_ParamProgram(0), 1);
    camera->ZDQ_UnInit();
    control->machineName = Varnu_320;
    // The pattern as the camera sends it: no contrast or brightness table.
    control->camOpt.zdqCurrentCamSet.Contrast = 0;
    control->camOpt.zdqCurrentCamSet.BrightNess = 0;
    setResolution(1);
    const VarnuExperiment row = insertRow();
    ZdqCaptureThread thread;
    thread.setExperiment(row.uuid, row.dateTime.date());
    thread.start();
    ASSERT_TRUE(thread.wait(20000));
    ASSERT_TRUE(thread.captured());
    uint16_t mode = 0;
    ASSERT_EQ(mlsim_fpga_read(0, 0, &mode), 1);
    EXPECT_EQ(mode & 0x10, 0) << "16-bit data is off";
    // The pattern steps by one from column to column (either way).
    ASSERT_NE(camera->frameBuffer, nullptr);
    ASSERT_GT(camera->frameWidth, 2);
    const uint8_t step = static_cast<uint8_t>(camera->frameBuffer[1] - camera->frameBuffer[0]);
    EXPECT_TRUE(step == 1 || step == 255) << int(step);
    for (int c = 2; c < camera->frameWidth; ++c) {
        ASSERT_EQ(static_cast<uint8_t>(camera->frameBuffer[c] - camera->frameBuffer[c - 1]), step)
            << c;
    }
}

TEST_F(ZdqCameraTest, AccumulationBlendsItsFramesAndAStopEndsItAfterTheFirst) {
    plug(kMono1280);
    control->machineName = Varnu_320;
    control->camOpt.zdqCurrentCamSet.SignalAccNum = 3;
    EXPECT_TRUE(control->camOpt.saveZdqCurrentCamSet());
    for (bool stop : {false, true}) {
        SCOPED_TRACE(stop ? "stopped" : "whole");
        QDir(stationFolder()).removeRecursively();
        QDir(storageFolder()).removeRecursively();
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

// ---- Picture files ----------------------------------------------------------------

// The log of the station while the object lives.
class StationLog {
  public:
    StationLog() : m_previous(qInstallMessageHandler(outputMessage)) {}
    ~StationLog() { qInstallMessageHandler(m_previous); }

  private:
    QtMessageHandler m_previous;
};

void writeText(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every file name of a folder, hidden ones (a left temporary file) too.
QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

TEST_F(ZdqCameraTest, APictureThatCannotBeWrittenIsToldAndLeavesNoRecordOfIt) {
    plug(kMono1280);
    control->machineName = Varnu_320;
    setResolution(0);  // 1064 x 850: a TIFF of 905 kB
    const StationLog log;
    // Below the picture, above the station's other files (log, stores).
    constexpr qint64 kLimit = 512 * 1024;
    enum Fault { SizeLimit, StationFolderIsAFile, StorageFolderIsAFile };
    struct Case {
        const char* label;
        bool accumulate;
        Fault fault;
    };
    const Case cases[] = {
        {"single, size limit", false, SizeLimit},
        {"single, station folder is a file", false, StationFolderIsAFile},
        {"single, storage folder is a file", false, StorageFolderIsAFile},
        {"accumulated, size limit", true, SizeLimit},
        {"accumulated, station folder is a file", true, StationFolderIsAFile},
        {"accumulated, storage folder is a file", true, StorageFolderIsAFile},
    };
    const QString dateFolder = QDate::currentDate().toString(QStringLiteral("yy-MM-dd"));
    const QString stationBlocker = station().filePath(QStringLiteral("Pictures/") + dateFolder);
    const QString storageBlocker = station().filePath(QStringLiteral("store/") + dateFolder);
    const QByteArray earlier("an earlier picture");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        for (const QString& path : {stationBlocker, storageBlocker}) {
            QFile::remove(path);
            QDir(path).removeRecursively();
        }
        // An earlier picture of the day wherever the fault leaves a folder.
        if (c.fault == StationFolderIsAFile) {
            writeText(stationBlocker, "not a folder");
        } else {
            writeText(stationFolder() + QStringLiteral("006.tif"), earlier);
        }
        if (c.fault == StorageFolderIsAFile) {
            writeText(storageBlocker, "not a folder");
        } else {
            writeText(storageFolder() + QStringLiteral("006.tif"), earlier);
        }
        const VarnuExperiment row = insertRow();
        ModalDriver driver;
        driver.answerMessageBox(QMessageBox::Ok);
        ZdqCaptureThread thread;
        thread.setExperiment(row.uuid, row.dateTime.date());
        thread.setAccCapture(c.accumulate);
        {
            std::unique_ptr<FileSizeLimit> limit;
            if (c.fault == SizeLimit) {
                ASSERT_LT(station().todaysLog().size() + 64 * 1024, kLimit);
                limit = std::make_unique<FileSizeLimit>(kLimit);
                ASSERT_TRUE(limit->active());
            }
            thread.start();
            ASSERT_TRUE(thread.wait(30000));
        }
        const bool stationCopy = c.fault == StorageFolderIsAFile;
        const QString failed = stationCopy ? storageFolder() : stationFolder();

        // The user is told which folder.
        ASSERT_TRUE(waitFor([&] { return driver.pendingSteps() == 0; }, 5000));
        const QString text =
            QStringLiteral("The picture could not be written to the folder %1.").arg(failed);
        EXPECT_EQ(driver.messages(), QStringList{QStringLiteral("Warning|") + text});
        EXPECT_EQ(thread.writeFailure(), text);

        // A row only for a picture that exists; nothing earlier lost, no
        // half-written or temporary file left.
        EXPECT_EQ(thread.captured(), stationCopy);
        EXPECT_EQ(camera->frameBuffer != nullptr, stationCopy);
        const auto stored = control->varnuExperimentDB->loadByUuid(row.uuid);
        ASSERT_EQ(bool(stored), stationCopy);
        if (stationCopy) {
            EXPECT_EQ(stored->name, QStringLiteral("Varnu007"));
            EXPECT_EQ(stored->exposureTime, QStringLiteral("300,"));
            EXPECT_TRUE(readGelTiff(stationPicture(row)).valid);
            EXPECT_EQ(filesIn(stationFolder()), QStringList({"006.tif", "007.tif"}));
        } else if (c.fault == SizeLimit) {
            EXPECT_EQ(filesIn(stationFolder()), QStringList{"006.tif"});
        }
        EXPECT_FALSE(QFile::exists(storagePicture(row)));
        if (c.fault != StationFolderIsAFile) {
            EXPECT_EQ(readAll(stationFolder() + QStringLiteral("006.tif")), earlier);
        }
        if (c.fault != StorageFolderIsAFile) {
            EXPECT_EQ(filesIn(storageFolder()), QStringList{"006.tif"});
            EXPECT_EQ(readAll(storageFolder() + QStringLiteral("006.tif")), earlier);
        }

        // The log names the file and the folder.
        const QString logText = station().todaysLog();
        EXPECT_TRUE(logText.contains(QStringLiteral("writing the picture failed: \"") + failed +
                                     QStringLiteral("007.tif\"")));
        EXPECT_TRUE(logText.contains(
            QStringLiteral("capture: the picture could not be written to \"%1\"").arg(failed)));
    }
    QFile::remove(stationBlocker);
    QFile::remove(storageBlocker);
}

TEST_F(ZdqCameraTest, APictureNeverReplacesAnotherItTakesTheNextFreeNumberInBothFolders) {
    plug(kMono1280);
    control->machineName = Varnu_320;
    setResolution(3);
    struct Case {
        const char* label;
        QStringList inStation;
        QStringList inStorage;
        int number;
    };
    const Case cases[] = {
        {"no picture of the day's number", {}, {}, 7},
        {"the station has the number", {"007.tif"}, {}, 8},
        {"another station's picture in the shared storage folder", {}, {"007.tif"}, 8},
        {"numbers taken in either folder", {"007.tif", "009.tif"}, {"008.tif"}, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        QDir(stationFolder()).removeRecursively();
        QDir(storageFolder()).removeRecursively();
        for (const QString& name : c.inStation) {
            writeText(stationFolder() + name, "station " + name.toLatin1());
        }
        for (const QString& name : c.inStorage) {
            writeText(storageFolder() + name, "storage " + name.toLatin1());
        }
        const VarnuExperiment row = insertRow();
        ZdqCaptureThread thread;
        thread.setExperiment(row.uuid, row.dateTime.date());
        thread.start();
        ASSERT_TRUE(thread.wait(20000));
        ASSERT_TRUE(thread.captured());
        EXPECT_TRUE(thread.writeFailure().isEmpty());

        const QString name = GelPictureFiles::fileName(c.number);
        EXPECT_TRUE(readGelTiff(stationFolder() + name).valid);
        EXPECT_TRUE(readGelTiff(storageFolder() + name).valid);
        for (const QString& earlier : c.inStation) {
            EXPECT_EQ(readAll(stationFolder() + earlier), "station " + earlier.toLatin1());
        }
        for (const QString& earlier : c.inStorage) {
            EXPECT_EQ(readAll(storageFolder() + earlier), "storage " + earlier.toLatin1());
        }
        // The row and the day's counter follow the number taken.
        EXPECT_EQ(control->varnuExperimentDB->loadByUuid(row.uuid)->name,
                  QStringLiteral("Varnu") + GelPictureFiles::numberText(c.number));
        control->userOpt.loadUserOpt(UserOpt_curExpNum);
        EXPECT_EQ(control->userOpt.curExpNum, c.number);
        control->userOpt.curExpNum = 7;
        EXPECT_TRUE(control->userOpt.saveUserOpt(UserOpt_curExpNum));
    }
}

TEST(PictureCopiesTest, ANameTakenBetweenProposalAndWriteMovesBothCopiesOn) {
    TestStation scratch(QStringLiteral("picture-copies"));
    const QString folder1 = scratch.filePath(QStringLiteral("one/"));
    const QString folder2 = scratch.filePath(QStringLiteral("two/"));
    const cv::Mat picture(4, 6, CV_8UC1, cv::Scalar(77));
    struct Case {
        const char* label;
        const char* takenIn;  // the folder another writer wrote "a.tif" to
    };
    for (const Case& c : {Case{"station folder", "one/"}, Case{"storage folder", "two/"}}) {
        SCOPED_TRACE(c.label);
        QDir(folder1).removeRecursively();
        QDir(folder2).removeRecursively();
        writeText(scratch.filePath(QString::fromLatin1(c.takenIn) + "a.tif"), "theirs");
        QStringList proposals{"a.tif", "b.tif"};
        const PictureCopies copies = writePictureCopies(folder1, folder2, picture, 600,
                                                        [&] { return proposals.takeFirst(); });
        EXPECT_EQ(copies.name, QStringLiteral("b.tif"));
        EXPECT_TRUE(copies.complete());
        EXPECT_TRUE(copies.failedFolder.isEmpty());
        EXPECT_EQ(readAll(scratch.filePath(QString::fromLatin1(c.takenIn) + "a.tif")), "theirs");
        EXPECT_EQ(filesIn(folder1).size() + filesIn(folder2).size(), 3);
        EXPECT_TRUE(readGelTiff(folder1 + "b.tif").valid);
        EXPECT_TRUE(readGelTiff(folder2 + "b.tif").valid);
    }
    // No free name at all: nothing written, the station folder told.
    const PictureCopies none =
        writePictureCopies(folder1, folder2, picture, 600, [] { return QString(); });
    EXPECT_FALSE(none.stationCopy);
    EXPECT_EQ(none.failedFolder, folder1);
    // The writer itself never replaces a file.
    EXPECT_EQ(
        writeNewUncompressedTiff(folder2 + "b.tif", cv::Mat(2, 2, CV_8UC1, cv::Scalar(1)), 600),
        NewPictureFile::NameTaken);
    EXPECT_EQ(readGelTiff(folder2 + "b.tif").width, 6);
}

// A picture writer killed in the middle of its write (at a file-size limit,
// in a process of its own): a new picture leaves nothing of its name, a
// replaced one the earlier file as it was.
TEST(PictureCopiesTest, AWriterKilledMidWriteLeavesNoPartOfItsPicture) {
    TestStation scratch(QStringLiteral("picture-killed"));
    const QString folder = scratch.filePath(QStringLiteral("pictures/"));
    const cv::Mat picture(600, 800, CV_8UC1, cv::Scalar(99));
    writeText(folder + "earlier.tif", "earlier");
    for (const bool replace : {false, true}) {
        SCOPED_TRACE(replace ? "replaced" : "new");
        const QString path = folder + (replace ? "earlier.tif" : "new.tif");
        const pid_t child = ::fork();
        if (child == 0) {
            const struct rlimit limit = {4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, SIG_DFL);
            if (replace) {
                writeUncompressedTiff(path, picture, 600);
            } else {
                writeNewUncompressedTiff(path, picture, 600);
            }
            ::_exit(0);
        }
        ASSERT_GT(child, 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
        EXPECT_EQ(filesIn(folder), QStringList{"earlier.tif"});
        EXPECT_EQ(readAll(folder + "earlier.tif"), "earlier");
    }
}

TEST(GelPictureFilesTest, TheFreeNumberIsTheFirstNamedInNeitherFolder) {
    TestStation scratch(QStringLiteral("gel-numbers"));
    const QString folder1 = scratch.filePath(QStringLiteral("one/"));
    const QString folder2 = scratch.filePath(QStringLiteral("two/"));
    writeText(folder1 + "007.tif", "x");
    writeText(folder2 + "008.tif", "x");
    writeText(folder1 + "1007.tif", "x");
    EXPECT_EQ(GelPictureFiles::freeNumber(folder1, folder2, 6), 6);
    EXPECT_EQ(GelPictureFiles::freeNumber(folder1, folder2, 7), 9);
    EXPECT_EQ(GelPictureFiles::freeNumber(folder1, folder2, 1007), 1008);
    EXPECT_EQ(GelPictureFiles::freeNumber(folder1, folder2, std::numeric_limits<int>::max()),
              std::numeric_limits<int>::max());
}

// ---- What the camera took -----------------------------------------------------------

TEST_F(ZdqCameraTest, TheRowHoldsTheExposureTheCameraTookAndThePicturesOwnSize) {
    struct Case {
        int machine;
        int type;
        int resolution;
        const char* exposure;
        const char* size;
        int width;
        int height;
    };
    // 300 ms asked; the skipping modes of the 1280 x 1024 sensor expose less.
    const Case cases[] = {
        {Varnu_320, kMono1280, 0, "300,", "1064*850", 1064, 850},
        {Varnu_320, kMono1280, 1, "265,", "532*425", 532, 425},
        {Varnu_320, kMono1280, 2, "187,", "264*212", 264, 212},
        {Varnu_320, kMono1280, 3, "187,", "132*106", 132, 106},
        {Varnu_520, kMono2592, 2, "300,", "648x486", 648, 486},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "model " << c.machine << " resolution " << c.resolution);
        plug(c.type);
        control->machineName = c.machine;
        setResolution(c.resolution);
        VarnuExperiment row = insertRow();
        // As the page names it: the resolution list's nominal size.
        const QString nominal = c.machine == Varnu_320
                                    ? zdqPelion1MResolutionToString(c.resolution)
                                    : zdqPelion5MResolutionToString(c.resolution);
        control->varnuExperimentDB->deleteExperiment(row.uuid);
        row.resolution = nominal;
        ASSERT_TRUE(control->varnuExperimentDB->insertExperiment(row));
        ZdqCaptureThread thread;
        thread.setExperiment(row.uuid, row.dateTime.date());
        thread.start();
        ASSERT_TRUE(thread.wait(20000));
        ASSERT_TRUE(thread.captured());

        const auto stored = control->varnuExperimentDB->loadByUuid(row.uuid);
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->exposureTime, QString::fromLatin1(c.exposure));
        EXPECT_EQ(stored->resolution, QString::fromLatin1(c.size));
        MlSimFrameInfo info{};
        ASSERT_EQ(mlsim_frame_info(0, &info), 1);
        EXPECT_NEAR(info.exposure_ms, QString::fromLatin1(c.exposure).chopped(1).toDouble(), 1.0);
        const GelTiff tiff = readGelTiff(stationFolder() + stored->name.mid(5) + ".tif");
        EXPECT_EQ(tiff.width, c.width);
        EXPECT_EQ(tiff.height, c.height);
        mlsim_unplug_all();
    }
}

}  // namespace
