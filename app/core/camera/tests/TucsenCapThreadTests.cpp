// Capture jobs of the western-blot page against the simulated cooled camera
// and the dark-room simulator (whose journal shows the blot light commands),
// also with pictures that cannot be written.
#include "DarkroomSimProcess.h"
#include "FileSizeLimit.h"
#include "TestStation.h"
#include "camera/TucsenCamCtrl.h"
#include "camera/TucsenCapThread.h"
#include "controller/CI_MainControl.h"
#include "database/Westblot_ExperimentDB.h"
#include "serial/ASyncSerialPortThread.h"
#include "startup/LogHandler.h"

#include <CamCore_control.h>

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

std::string journal() {
    const int length = camsim_journal(nullptr, 0);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    camsim_journal(&text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

std::vector<float> exposuresSeen() {
    std::vector<float> exposures(64);
    const int count = camsim_frame_exposures(exposures.data(), nullptr, 64);
    exposures.resize(static_cast<size_t>(count));
    return exposures;
}

class TucsenCapThreadTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        qInstallMessageHandler(outputMessage);
        s_station = new TestStation("tucsen-capture");
        s_station->writeMachineIni("320", 1);
        s_control = CI_MainControl::getInstance();
        ASSERT_TRUE(s_control->initMachineName());
        s_sim = new DarkroomSimProcess("capture-link");
        ASSERT_TRUE(s_sim->start());
        s_control->ConnectToPort(s_sim->linkPath());
        ASSERT_TRUE(waitUntil([] { return s_control->serialPortThread->isRunning(); }, 3000));
        s_station->setUserOption("storagePath", s_station->path() + "/storage");
        s_station->setUserOption("ExpTime", 5000);
    }
    static void TearDownTestSuite() {
        s_control->serialPortThread->closePort();
        s_control->serialPortThread->wait(3000);
        delete s_sim;
        qInstallMessageHandler(nullptr);
    }

    void SetUp() override {
        camsim_reset("width=64,height=32,time_scale=0,noise=0,scene=bands");
        ASSERT_TRUE(s_control->initTucsenCam());
        camsim_reset_counts();
        settleLine();
        s_sim->command("clear");
    }
    // Waits until the line has been quiet for a moment, so the commands of an
    // earlier job have all arrived before the journal is cleared.
    static void settleLine() {
        int seen = -1;
        for (int i = 0; i < 20; ++i) {
            const int now = s_sim->journal().size();
            if (now == seen) {
                return;
            }
            seen = now;
            waitUntil([] { return false; }, 250);
        }
    }
    // Resets the simulator's records but not the started camera.
    static void camsim_reset_counts() { camsim_clear_journal(); }

    // A new experiment row, made the camera's current one.
    QString newExperiment() {
        WestblotExperiment row;
        row.expType = 1;
        row.name = QString("WestBlot_Test%1").arg(++s_number);
        row.dateTime = QDateTime(QDate(2026, 3, 4), QTime(23, 59, 59));
        EXPECT_TRUE(s_control->westblotExperimentDB->insertExperiment(row));
        TucsenCamCtrl::getInstance()->curExpName = row.name;
        return row.name;
    }
    void setManual(bool timeAcc, bool inteAcc, const QList<QStringList>& entries) {
        QSettings cam(s_station->filePath("Ini/camOption.ini"), QSettings::IniFormat);
        cam.setValue("TucsenCurrentCamSet/TimeAcc", timeAcc);
        cam.setValue("TucsenCurrentCamSet/InteAcc", inteAcc);
        cam.sync();
        s_control->userOpt.CapCount = entries.size();
        EXPECT_TRUE(s_control->userOpt.saveUserOpt(UserOpt_CapCount));
        for (int i = 0; i < entries.size(); ++i) {
            *(&s_control->userOpt.ExpTime_1 + i) = entries.at(i);
            EXPECT_TRUE(s_control->userOpt.saveUserOpt(UserOpt_ExpTime_1 + i));
        }
    }
    static int filesIn(const QString& folder) {
        return QDir(folder).entryList({"*.tif"}, QDir::Files).size();
    }
    QStringList lightNotes() {
        QStringList notes;
        for (const SimJournalEntry& entry : s_sim->journal()) {
            if (entry.note.startsWith("blot light")) {
                notes << entry.note;
            }
        }
        return notes;
    }
    static void runJob(TucsenCapThread& thread) {
        thread.start();
        ASSERT_TRUE(thread.wait(20000));
    }

    static TestStation* s_station;
    static CI_MainControl* s_control;
    static DarkroomSimProcess* s_sim;
    static int s_number;
};

TestStation* TucsenCapThreadTest::s_station = nullptr;
CI_MainControl* TucsenCapThreadTest::s_control = nullptr;
DarkroomSimProcess* TucsenCapThreadTest::s_sim = nullptr;
int TucsenCapThreadTest::s_number = 0;

TEST_F(TucsenCapThreadTest, CaptureModesWithAndWithoutMarker) {
    const QList<QStringList> two = {{"0", "05", "000"}, {"0", "12", "000"}};
    const QList<QStringList> three = {{"0", "05", "000"}, {"0", "12", "000"}, {"0", "20", "000"}};
    struct Case {
        const char* label;
        int frameType;
        bool wbMarker;
        bool timeAcc, inteAcc;
        QList<QStringList> entries;
        int files;
        int pictures;
        std::vector<float> exposures;
        const char* exposureText;
        const char* gainText;
    };
    const Case cases[] = {
        {"single with marker",
         0,
         false,
         false,
         false,
         {},
         3,
         3,
         {200, 5000},
         "200,5000,",
         "200,585,"},
        {"single", 0, true, false, false, {}, 1, 1, {5000}, "5000,", "585,"},
        {"normal", 1, true, false, false, two, 2, 2, {5000, 12000}, "5000,12000,", "585,585,"},
        {"time-accumulated",
         1,
         true,
         true,
         false,
         two,
         2,
         2,
         {5000, 7000},
         "5000,7000,",
         "585,585,"},
        {"integral with marker",
         1,
         false,
         false,
         true,
         three,
         4,
         4,
         {200, 5000, 12000, 20000},
         "200,5000,12000,20000,",
         "200,585,585,585,"},
        {"both", 1, true, true, true, two, 2, 2, {5000, 7000}, "5000,7000,", "585,585,"},
        {"no pictures with marker", 1, false, false, false, {}, 1, 1, {200}, "200,", "200,"},
    };
    TucsenCamCtrl* camera = TucsenCamCtrl::getInstance();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SetUp();
        s_station->setUserOption("WbMarker", c.wbMarker);
        setManual(c.timeAcc, c.inteAcc, c.entries);
        camera->curFuncFrameType = c.frameType;
        const QString name = newExperiment();
        TucsenCapThread thread;
        runJob(thread);

        // Both folders are named by the experiment's date.
        EXPECT_EQ(filesIn(s_station->path() + "/Pictures/26-03-04/" + name), c.files);
        EXPECT_EQ(filesIn(s_station->path() + "/storage/26-03-04/" + name), c.files);
        EXPECT_EQ(camera->frameList.size(), c.pictures);
        EXPECT_EQ(exposuresSeen(), c.exposures);
        const auto row = s_control->westblotExperimentDB->loadByName(name);
        ASSERT_TRUE(row);
        EXPECT_EQ(row->exposureTime, c.exposureText);
        EXPECT_EQ(row->gain, c.gainText);
        const QStringList light = c.wbMarker ? QStringList{"blot light off"}
                                             : QStringList{"blot light on", "blot light off"};
        ASSERT_TRUE(waitUntil([&] { return lightNotes().size() >= light.size(); }, 5000));
        settleLine();
        EXPECT_EQ(lightNotes(), light);
        EXPECT_EQ(camera->deviceState(), 0);
    }
}

TEST_F(TucsenCapThreadTest, ChemiluminescencePicturesAreInvertedTheMarkerIsNot) {
    s_station->setUserOption("WbMarker", false);
    TucsenCamCtrl* camera = TucsenCamCtrl::getInstance();
    camera->curFuncFrameType = 0;
    newExperiment();
    TucsenCapThread thread;
    runJob(thread);
    ASSERT_EQ(camera->frameList.size(), 3);
    auto sample = [&](int picture, int column, int row) {
        const uchar* p = camera->frameList.at(picture) + 16 + 2 * (row * 64 + column);
        return p[0] | (p[1] << 8);
    };
    // On the membrane: the marker's glow (no light reaches this camera),
    // 100 + 0.02 x 65 x 0.2, as taken; the chemiluminescence glow,
    // 100 + 0.02 x 65 x 5 x 585 / 200, with its high byte complemented.
    EXPECT_EQ(sample(0, 10, 5), 100);
    EXPECT_EQ(sample(1, 10, 5), 119 | 0xFF00);
    EXPECT_EQ(camera->frameWidth, 64);
    EXPECT_EQ(camera->frameHeight, 32);
}

// Depth 0 of the camera set: 8-bit pictures go through every capture mode,
// are stored, and the marker blend multiplies their samples.
TEST_F(TucsenCapThreadTest, EightBitPicturesAreTakenBlendedAndStored) {
    const QList<QStringList> two = {{"0", "00", "010"}, {"0", "00", "020"}};
    struct Case {
        const char* label;
        int frameType;
        bool wbMarker;
        bool inteAcc;
        QList<QStringList> entries;
        int pictures;
    };
    const Case cases[] = {
        {"single with marker", 0, false, false, {}, 3},
        {"normal", 1, true, false, two, 2},
        {"integral with marker", 1, false, true, two, 3},
    };
    {
        QSettings cam(s_station->filePath("Ini/camOption.ini"), QSettings::IniFormat);
        cam.setValue("TucsenCurrentCamSet/Depth", 0);
    }
    // Short exposures under the light: the membrane neither vanishes nor
    // saturates in any picture.
    s_station->setUserOption("ExpTime", 10);
    TucsenCamCtrl* camera = TucsenCamCtrl::getInstance();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SetUp();
        camsim_set_blot_light(1);
        s_station->setUserOption("WbMarker", c.wbMarker);
        setManual(false, c.inteAcc, c.entries);
        camera->curFuncFrameType = c.frameType;
        const QString name = newExperiment();
        TucsenCapThread thread;
        runJob(thread);
        EXPECT_EQ(filesIn(s_station->path() + "/Pictures/26-03-04/" + name), c.pictures);
        EXPECT_EQ(filesIn(s_station->path() + "/storage/26-03-04/" + name), c.pictures);
        ASSERT_EQ(camera->frameList.size(), c.pictures);
        for (const uchar* picture : camera->frameList) {
            EXPECT_EQ(picture[8], 8);
        }
        if (c.frameType == 0) {
            // Blend = trunc(marker / 255 x picture / 255 x 255), sample by
            // sample; the picture is inverted, so the blend is not the marker.
            const uchar* marker = camera->frameList.at(0) + 16;
            const uchar* chemi = camera->frameList.at(1) + 16;
            const uchar* blend = camera->frameList.at(2) + 16;
            int darker = 0;
            for (int i = 0; i < 64 * 32; ++i) {
                ASSERT_EQ(blend[i],
                          static_cast<uchar>(marker[i] / 255.0 * (chemi[i] / 255.0) * 255.0))
                    << i;
                darker += blend[i] < marker[i] ? 1 : 0;
            }
            EXPECT_GT(darker, 64 * 32 / 2);
        }
    }
    camsim_set_blot_light(-1);
    s_station->setUserOption("ExpTime", 5000);
    QSettings cam(s_station->filePath("Ini/camOption.ini"), QSettings::IniFormat);
    cam.setValue("TucsenCurrentCamSet/Depth", 1);
}

TEST_F(TucsenCapThreadTest, ARefusedFlatFieldCorrectionKeepsThePicture) {
    s_station->setUserOption("WbMarker", false);
    TucsenCamCtrl* camera = TucsenCamCtrl::getInstance();
    camera->curFuncFrameType = 0;
    const QString name = newExperiment();
    camsim_fail("CalcFlatfield", -1, CAMCORE_E_DEVICE);
    QElapsedTimer job;
    job.start();
    TucsenCapThread thread;
    runJob(thread);
    // Marker, picture and blend, without waiting for frames that never come.
    EXPECT_LT(job.elapsed(), 10000);
    EXPECT_EQ(camera->frameList.size(), 3);
    EXPECT_EQ(filesIn(s_station->path() + "/Pictures/26-03-04/" + name), 3);
    EXPECT_EQ(exposuresSeen(), std::vector<float>({200, 5000}));
    EXPECT_TRUE(s_station->todaysLog().contains("flat-field correction refused"));
    EXPECT_FALSE(s_station->todaysLog().contains("pictureCap: no frame from the camera."));
}

TEST_F(TucsenCapThreadTest, LongExposuresUseTheNextPixelClock) {
    s_station->setUserOption("WbMarker", true);
    TucsenCamCtrl::getInstance()->curFuncFrameType = 0;
    for (int exposure : {1200000, 1200001}) {
        SetUp();
        s_station->setUserOption("ExpTime", exposure);
        newExperiment();
        TucsenCapThread thread;
        runJob(thread);
        const std::string pixelClock = exposure > 1200000 ? "3" : "2";
        EXPECT_NE(journal().find("SetPixelclock " + pixelClock + " -> 0\nGetExposure"),
                  std::string::npos)
            << exposure;
    }
    s_station->setUserOption("ExpTime", 5000);
}

TEST_F(TucsenCapThreadTest, AStopDuringTheMarkerStillTurnsTheLightOffAndUpdatesTheRow) {
    s_station->setUserOption("WbMarker", false);
    TucsenCamCtrl* camera = TucsenCamCtrl::getInstance();
    camera->curFuncFrameType = 0;
    const QString name = newExperiment();
    camsim_stall_reads(1);
    TucsenCapThread thread;
    thread.start();
    ASSERT_TRUE(waitUntil(
        [] { return journal().find("CalcDefectCorrection -> 0") != std::string::npos; }, 5000));
    thread.setStopFlag(true);
    camsim_stall_reads(0);
    ASSERT_TRUE(thread.wait(10000));
    const auto row = s_control->westblotExperimentDB->loadByName(name);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->exposureTime, "200,5000,");
    EXPECT_EQ(filesIn(s_station->path() + "/Pictures/26-03-04/" + name), 0);
    ASSERT_TRUE(waitUntil([&] { return lightNotes().size() >= 2; }, 5000));
    settleLine();
    EXPECT_EQ(lightNotes(), QStringList({"blot light on", "blot light off"}));
    EXPECT_EQ(camera->deviceState(), 0);
}

TEST_F(TucsenCapThreadTest, ACameraThatGivesNoFrameEndsTheJobInBoundedTime) {
    s_station->setUserOption("WbMarker", true);
    TucsenCamCtrl::getInstance()->curFuncFrameType = 0;
    s_station->setUserOption("ExpTime", 100);
    const QString name = newExperiment();
    camsim_fail("GetRawData", -1, CAMCORE_E_DEVICE);
    TucsenCapThread thread;
    runJob(thread);
    const auto row = s_control->westblotExperimentDB->loadByName(name);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->exposureTime, "100,");
    EXPECT_TRUE(TucsenCamCtrl::getInstance()->frameList.isEmpty());
    EXPECT_TRUE(s_station->todaysLog().contains("pictureCap: no frame from the camera."));
    s_station->setUserOption("ExpTime", 5000);
}

TEST_F(TucsenCapThreadTest, AnExperimentThatIsNotStoredTakesNoPicture) {
    TucsenCamCtrl::getInstance()->curExpName = "WestBlot_Missing";
    TucsenCapThread thread;
    runJob(thread);
    EXPECT_EQ(camsim_frames_grabbed(), 0);
    EXPECT_TRUE(s_station->todaysLog().contains("TucsenCapThread: no experiment named"));
    EXPECT_EQ(TucsenCamCtrl::getInstance()->deviceState(), 0);
}

TEST_F(TucsenCapThreadTest, APictureThatCannotBeWrittenEndsTheJobAndLeavesNoRecordOfIt) {
    enum Fault { SizeLimit, SizeLimitAfterTheMarker, StationFolderIsAFile, StorageFolderIsAFile };
    struct Case {
        const char* label;
        int frameType;
        Fault fault;
    };
    const Case cases[] = {
        {"single, size limit", 0, SizeLimit},
        {"single, size limit after the marker", 0, SizeLimitAfterTheMarker},
        {"single, station folder is a file", 0, StationFolderIsAFile},
        {"single, storage folder is a file", 0, StorageFolderIsAFile},
        {"manual, size limit", 1, SizeLimit},
        {"manual, size limit after the marker", 1, SizeLimitAfterTheMarker},
        {"manual, station folder is a file", 1, StationFolderIsAFile},
        {"manual, storage folder is a file", 1, StorageFolderIsAFile},
    };
    // Pictures of 1.5 MB; the limit lies between them and the station's
    // other files (log, stores).
    constexpr qint64 kLimit = 1024 * 1024;
    const QString stationBlocker = s_station->path() + "/Pictures/26-03-04";
    const QString storageBlocker = s_station->path() + "/storage/26-03-04";
    const QByteArray earlier("an earlier picture");
    TucsenCamCtrl* camera = TucsenCamCtrl::getInstance();
    s_station->setUserOption("WbMarker", false);
    s_station->setUserOption("ExpTime", 2000);
    setManual(false, false, {{"0", "02", "000"}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        // The chemiluminescence exposure lasts two real seconds, in which
        // the limit after the marker is set.
        camsim_reset("width=1024,height=768,time_scale=1,noise=0,scene=bands");
        ASSERT_TRUE(s_control->initTucsenCam());
        settleLine();
        s_sim->command("clear");
        camera->curFuncFrameType = c.frameType;
        for (const QString& path : {stationBlocker, storageBlocker}) {
            QFile::remove(path);
            QDir(path).removeRecursively();
        }
        const QString name = newExperiment();
        const QString folder1 = stationBlocker + "/" + name + "/";
        const QString folder2 = storageBlocker + "/" + name + "/";
        // A file where a folder belongs, or an earlier picture in the folder.
        const auto prepare = [&](const QString& folder, const QString& blocker, bool blocked) {
            const QString path = blocked ? blocker : folder + "10-00-00-000.tif";
            QDir().mkpath(QFileInfo(path).path());
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(blocked ? QByteArray("not a folder") : earlier);
        };
        prepare(folder1, stationBlocker, c.fault == StationFolderIsAFile);
        prepare(folder2, storageBlocker, c.fault == StorageFolderIsAFile);
        ASSERT_LT(QFileInfo(logFilePath(QDate::currentDate())).size() + 64 * 1024, kLimit);

        TucsenCapThread thread;
        {
            std::unique_ptr<FileSizeLimit> limit;
            if (c.fault == SizeLimit) {
                limit = std::make_unique<FileSizeLimit>(kLimit);
                ASSERT_TRUE(limit->active());
            }
            thread.start();
            if (c.fault == SizeLimitAfterTheMarker) {
                ASSERT_TRUE(waitUntil([&] { return filesIn(folder2) == 2; }, 10000));
                camsim_stall_reads(1);
                limit = std::make_unique<FileSizeLimit>(kLimit);
                ASSERT_TRUE(limit->active());
                camsim_stall_reads(0);
            }
            ASSERT_TRUE(thread.wait(20000));
        }

        // Only the marker is ever stored: it is written before any fault
        // but a folder that is a file, or only its station copy is.
        const bool markerStored =
            c.fault == SizeLimitAfterTheMarker || c.fault == StorageFolderIsAFile;
        const bool storageCopy = c.fault == SizeLimitAfterTheMarker;
        const QString failed = c.fault == StorageFolderIsAFile ? folder2 : folder1;
        EXPECT_EQ(thread.writeFailure(),
                  QString("The picture could not be written to the folder %1.").arg(failed));
        if (c.fault != StationFolderIsAFile) {
            EXPECT_EQ(filesIn(folder1), markerStored ? 2 : 1);
            QFile file(folder1 + "10-00-00-000.tif");
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), earlier);
            EXPECT_EQ(QDir(folder1).entryList(QDir::Files | QDir::Hidden).size(), filesIn(folder1));
        }
        if (c.fault != StorageFolderIsAFile) {
            EXPECT_EQ(filesIn(folder2), storageCopy ? 2 : 1);
            QFile file(folder2 + "10-00-00-000.tif");
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), earlier);
        }
        // The page shows only what was stored; the row holds the values of
        // the stored pictures, and is gone without any.
        EXPECT_EQ(camera->frameList.size(), markerStored ? 1 : 0);
        const auto row = s_control->westblotExperimentDB->loadByName(name);
        ASSERT_EQ(bool(row), markerStored);
        if (row) {
            EXPECT_EQ(row->exposureTime, "200,");
            EXPECT_EQ(row->gain, "200,");
        }
        const QString log = s_station->todaysLog();
        EXPECT_TRUE(log.contains("writing the picture failed: \"" + failed));
        EXPECT_TRUE(
            log.contains("capture: the picture could not be written to \"" + failed + "\""));
        if (!markerStored) {
            EXPECT_TRUE(log.contains("capture: no picture of \"" + name +
                                     "\" was stored; its row is removed."));
        }
        // The light goes off and the camera is suspended all the same.
        ASSERT_TRUE(waitUntil([&] { return lightNotes().size() >= 2; }, 5000));
        settleLine();
        EXPECT_EQ(lightNotes(), QStringList({"blot light on", "blot light off"}));
        EXPECT_EQ(camera->deviceState(), 0);
    }
    QFile::remove(stationBlocker);
    QFile::remove(storageBlocker);
    s_station->setUserOption("ExpTime", 5000);
}

}  // namespace
