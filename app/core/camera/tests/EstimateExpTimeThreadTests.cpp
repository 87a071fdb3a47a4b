// The exposure-time estimate: its arithmetic, and whole estimates on the
// simulated camera's scenes.
#include "TestStation.h"
#include "camera/EstimateExpTimeThread.h"
#include "camera/TucsenCamCtrl.h"
#include "camera/TucsenImageHeader.h"
#include "controller/CI_MainControl.h"
#include "settings/CamOpts.h"
#include "startup/LogHandler.h"

#include <CamCore_control.h>

#include <QFile>
#include <QSettings>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <opencv2/core.hpp>

#include <algorithm>
#include <vector>

namespace {

TEST(EstimateExpTime, TheArithmetic) {
    // k = 55 x log10(1.04) = 0.93683, x = 0.32789: 5000 x 0.38804.
    EXPECT_EQ(EstimateExpTimeThread::calcExpTime(1.04, 0.7, 200, 0.5, 5000), 1940);
    struct Case {
        int resolution, expected;
    };
    for (const Case& c : {Case{0, 31040}, Case{1, 7760}, Case{2, 1940}}) {
        EXPECT_EQ(EstimateExpTimeThread::scaleToResolution(1940, c.resolution), c.expected);
    }
    // At 10000 ms the divisor is ln 20: k = 0.72007, x = 0.25203.
    EXPECT_EQ(EstimateExpTimeThread::calcExpTime(1.04, 0.7, 200, 0.5, 10000), 2866);
    // Unusable results: none brighter than the mean, a zero or negative
    // calibration, a band at full brightness, a result beyond an int.
    EXPECT_EQ(EstimateExpTimeThread::calcExpTime(1.04, 0.7, 200, 0.0, 5000), -1);
    EXPECT_EQ(EstimateExpTimeThread::calcExpTime(0.0, 0.7, 200, 0.5, 5000), -1);
    EXPECT_EQ(EstimateExpTimeThread::calcExpTime(-1.04, 0.7, 200.5, 0.5, 5000), -1);
    EXPECT_EQ(EstimateExpTimeThread::calcExpTime(1.04, 0.7, 255, 0.5, 5000), -1);
    EXPECT_EQ(EstimateExpTimeThread::calcExpTime(100.0, 5.0, 0, 1.0, 5000), -1);
    EXPECT_EQ(EstimateExpTimeThread::scaleToResolution(200000000, 0), -1);
    EXPECT_EQ(EstimateExpTimeThread::joinCsvRow({"12.50", "94.25", "9", "3", "31040", "\n"}),
              "12.50,94.25,9,3,31040,\n");
}

class EstimateExpTimeTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        qInstallMessageHandler(outputMessage);
        s_station = new TestStation("tucsen-estimate");
        s_station->writeMachineIni("320", 1);
        s_control = CI_MainControl::getInstance();
        ASSERT_TRUE(s_control->initMachineName());
    }
    static void TearDownTestSuite() { qInstallMessageHandler(nullptr); }

    // The raw depth of the camera set (0: 8 bits, 1: 16 bits).
    static void setDepth(int depth) {
        QSettings cam(s_station->filePath("Ini/camOption.ini"), QSettings::IniFormat);
        cam.setValue("TucsenCurrentCamSet/Depth", depth);
        cam.sync();
    }

    // Starts the camera on `scene`, runs one estimate and returns its result.
    int estimate(
        const std::string& scene, const std::string& size = "width=512,height=256",
        EstimateExpTimeThread::Outcome expected = EstimateExpTimeThread::Outcome::Estimated) {
        camsim_reset((size + ",time_scale=0,noise=16,scene=" + scene).c_str());
        EXPECT_TRUE(s_control->initTucsenCam());
        s_control->tucsenCamCtrl->resumeDevice();
        EstimateExpTimeThread thread;
        thread.start();
        EXPECT_TRUE(thread.wait(20000));
        EXPECT_EQ(static_cast<int>(thread.outcome()), static_cast<int>(expected));
        return thread.getExpTime();
    }
    static QStringList csvLines() {
        QFile file(s_station->filePath("documents/rawData.csv"));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            return {};
        }
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    static std::vector<float> trialsSeen() {
        std::vector<float> exposures(16);
        exposures.resize(
            static_cast<size_t>(camsim_frame_exposures(exposures.data(), nullptr, 16)));
        return exposures;
    }

    static TestStation* s_station;
    static CI_MainControl* s_control;
};

TestStation* EstimateExpTimeTest::s_station = nullptr;
CI_MainControl* EstimateExpTimeTest::s_control = nullptr;

TEST_F(EstimateExpTimeTest, BandsGiveAnExposureAndACsvLine) {
    const int before = csvLines().size();
    const int result = estimate("bands");
    EXPECT_GT(result, 0);
    EXPECT_NE(result, EstimateExpTimeThread::kNoBandExpTime);
    EXPECT_EQ(trialsSeen(), std::vector<float>({5000}));
    EXPECT_EQ(s_control->tucsenCamCtrl->getResolution(), 2);
    const QStringList lines = csvLines();
    ASSERT_EQ(lines.size(), before + 1);
    const QStringList fields = lines.last().split(',');
    ASSERT_EQ(fields.size(), 6);  // five fields, each followed by ","
    EXPECT_EQ(fields.at(4).toInt(), result);
    EXPECT_TRUE(fields.at(5).isEmpty());
    // Resolution 0 of the seeded set: a multiple of 16.
    EXPECT_EQ(result % 16, 0);
    EXPECT_TRUE(QFile::exists(s_station->filePath("threshold.tif")));
}

// One frame at full resolution with the capture gain of the camera set, as
// the single capture takes it; its samples as 16-bit levels (8-bit samples
// scaled by 256).
cv::Mat captureAt(int exposureMs) {
    TucsenCamCtrl* camera = TucsenCamCtrl::getInstance();
    CamOpts camOpt;
    camOpt.loadTucsenCurrentCamSet();
    const TucsenCamSet& set = camOpt.tucsenCurrentCamSet;
    EXPECT_EQ(camera->setResolution(set.Resolution), 0);
    EXPECT_TRUE(camera->setCapturePara(exposureMs, set.GainCap, set.PixelClock));
    std::vector<uchar> raw(static_cast<size_t>(camera->rawSize));
    std::vector<uchar> picture(camera->imageBufferSize());
    TucsenImageHeader header;
    if (camera->getRawData(raw.data(), camera->rawSize) != 0 ||
        camera->decodeRaw2Image(raw.data(), picture.data()) != 0 ||
        !TucsenImageHeader::read(picture.data(), picture.size(), &header)) {
        ADD_FAILURE() << "no frame at " << exposureMs << " ms";
        return {};
    }
    const cv::Mat samples(header.height, header.width, header.bits == 8 ? CV_8UC1 : CV_16UC1,
                          picture.data() + header.dataOffset);
    cv::Mat levels;
    samples.convertTo(levels, CV_32F, header.bits == 8 ? 256.0 : 1.0);
    return levels;
}

TEST_F(EstimateExpTimeTest, TheProposalExposesTheBrightestBandWellAndShowsEveryLane) {
    struct Case {
        const char* size;
        int depth;
    };
    // The run command's sensor at 16 and at 8 bits, and smaller ones.
    const Case cases[] = {{"width=2048,height=2048", 1},
                          {"width=2048,height=2048", 0},
                          {"width=1536,height=1024", 1},
                          {"width=1024,height=1024", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.size) + " depth " + std::to_string(c.depth));
        setDepth(c.depth);
        const int proposal = estimate("bands", c.size);
        EXPECT_GT(proposal, 0);
        EXPECT_LT(proposal, EstimateExpTimeThread::kNoBandExpTime);
        const cv::Mat levels = captureAt(proposal);
        ASSERT_FALSE(levels.empty());
        // The membrane fills the middle 80 % of the picture, its eight lanes
        // side by side; their bands lie between 25 % and 75 % of its
        // height. The background is the membrane's left edge there.
        const int left = levels.cols / 10;
        const int laneWidth = levels.cols * 8 / 10 / 8;
        const cv::Mat rows = levels.rowRange(levels.rows * 3 / 10, levels.rows * 7 / 10);
        double background = 0.0;
        cv::minMaxLoc(rows.colRange(left, left + laneWidth / 8), nullptr, &background);
        double brightest = 0.0;
        for (int lane = 0; lane < 8; ++lane) {
            SCOPED_TRACE(lane);
            double peak = 0.0;
            cv::minMaxLoc(rows.colRange(left + lane * laneWidth, left + (lane + 1) * laneWidth),
                          nullptr, &peak);
            // Every lane shows its strongest band well above the background.
            EXPECT_GT(peak, background + 0.1 * 65535.0);
            brightest = std::max(brightest, peak);
        }
        EXPECT_GE(brightest, 0.5 * 65535.0);
        EXPECT_LE(brightest, 0.95 * 65535.0);
    }
    setDepth(1);
}

TEST_F(EstimateExpTimeTest, NoBandAtEitherTrialGivesTheFallbackWithoutACsvLine) {
    for (const char* scene : {"dark", "whole-bright"}) {
        SCOPED_TRACE(scene);
        const int before = csvLines().size();
        EXPECT_EQ(estimate(scene, "width=512,height=256", EstimateExpTimeThread::Outcome::NoBand),
                  EstimateExpTimeThread::kNoBandExpTime);
        EXPECT_EQ(trialsSeen(), std::vector<float>({5000, 10000}));
        EXPECT_EQ(csvLines().size(), before);
    }
}

TEST_F(EstimateExpTimeTest, ABandThatIsTheWholePictureQualifiesForNothing) {
    // At 4 x 4 binning a 64 x 32 sensor gives 16 x 8 pixels: the bright
    // picture's one contour is small enough to count as a band, but its box
    // is the whole picture, so no band can be chosen.
    const int before = csvLines().size();
    EXPECT_EQ(
        estimate("whole-bright", "width=64,height=32", EstimateExpTimeThread::Outcome::NoBand),
        EstimateExpTimeThread::kNoBandExpTime);
    EXPECT_EQ(trialsSeen(), std::vector<float>({5000}));
    EXPECT_EQ(csvLines().size(), before);
    EXPECT_TRUE(s_station->todaysLog().contains("no band qualifies"));
}

TEST_F(EstimateExpTimeTest, AnUnusableCalibrationGivesTheFallbackAndAWarning) {
    s_station->setUserOption("para1", 0.0);
    const int before = csvLines().size();
    EXPECT_EQ(estimate("bands", "width=512,height=256", EstimateExpTimeThread::Outcome::Unusable),
              EstimateExpTimeThread::kNoBandExpTime);
    EXPECT_EQ(csvLines().size(), before);
    EXPECT_TRUE(s_station->todaysLog().contains("the estimate is unusable"));
    s_station->setUserOption("para1", 1.04);
}

TEST_F(EstimateExpTimeTest, ACameraWithoutPicturesEndsTheEstimate) {
    camsim_reset("width=512,height=256,time_scale=0");
    ASSERT_TRUE(s_control->initTucsenCam());
    camsim_fail("GetRawData", -1, CAMCORE_E_DEVICE);
    s_control->tucsenCamCtrl->resumeDevice();
    EstimateExpTimeThread thread;
    thread.start();
    ASSERT_TRUE(thread.wait(30000));
    EXPECT_EQ(thread.getExpTime(), EstimateExpTimeThread::kNoBandExpTime);
    EXPECT_EQ(static_cast<int>(thread.outcome()),
              static_cast<int>(EstimateExpTimeThread::Outcome::NoPicture));
    EXPECT_TRUE(s_station->todaysLog().contains("no picture from the camera"));
}

}  // namespace
