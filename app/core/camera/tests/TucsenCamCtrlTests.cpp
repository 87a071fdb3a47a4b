#include "camera/TucsenCamCtrl.h"
#include "camera/TucsenGrabThread.h"
#include "camera/TucsenShowThread.h"

#include <CamCore_control.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

QStringList g_messages;

void collect(QtMsgType, const QMessageLogContext&, const QString& text) {
    g_messages << text;
}

std::string journal() {
    const int length = camsim_journal(nullptr, 0);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    camsim_journal(&text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

bool waitFor(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// A decoded picture of `width` x `height` 16-bit grey samples, all `value`.
uchar* picture(TucsenCamCtrl* ctrl, int width, int height, quint16 value) {
    uchar* buffer = new uchar[ctrl->imageBufferSize()]();
    buffer[4] = static_cast<uchar>(width);
    buffer[6] = static_cast<uchar>(height);
    buffer[8] = 16;
    buffer[9] = 1;
    buffer[12] = 16;
    for (int i = 0; i < width * height; ++i) {
        buffer[16 + 2 * i] = static_cast<uchar>(value & 0xFF);
        buffer[17 + 2 * i] = static_cast<uchar>(value >> 8);
    }
    return buffer;
}

class TucsenCamCtrlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        camsim_reset("width=64,height=32,time_scale=0,noise=0");
        ctrl = TucsenCamCtrl::getInstance();
        ASSERT_EQ(ctrl->initDevice("./"), 0);
        ASSERT_EQ(ctrl->deviceCount(), 1);
        ctrl->deviceName = QByteArray(ctrl->deviceNameAt(0));
        ASSERT_EQ(ctrl->resumeDevice(), 0);
        ASSERT_TRUE(ctrl->initBuffers());
        g_messages.clear();
        qInstallMessageHandler(collect);
    }
    void TearDown() override {
        qInstallMessageHandler(nullptr);
        ctrl->stopFlag = true;
        ctrl->clearFrameList();
        camsim_reset(nullptr);
    }

    TucsenCamCtrl* ctrl = nullptr;
};

TEST_F(TucsenCamCtrlTest, BuffersFollowTheLargestFrame) {
    EXPECT_EQ(ctrl->rawSize, 16 + 64 * 32 * 2);
    EXPECT_TRUE(ctrl->stopFlag);
    EXPECT_FALSE(ctrl->newFrameFlag);
    EXPECT_NE(ctrl->grabBuffer, ctrl->readyBuffer);
    EXPECT_NE(ctrl->readyBuffer, ctrl->showBuffer);
    EXPECT_EQ(ctrl->getInstance(), ctrl);
}

TEST_F(TucsenCamCtrlTest, TheNewestFrameIsTheOneShown) {
    ctrl->stopFlag = false;
    TucsenGrabThread grab;
    grab.start();
    ASSERT_TRUE(waitFor([] { return camsim_frames_grabbed() >= 2; }));
    ctrl->stopFlag = true;
    ASSERT_TRUE(grab.wait(3000));
    const int grabbed = camsim_frames_grabbed();
    EXPECT_TRUE(ctrl->newFrameFlag);

    ctrl->stopFlag = false;
    TucsenShowThread show;
    int shown = 0;
    QObject::connect(&show, &TucsenShowThread::updateImg, [&] { ++shown; });
    show.start();
    ASSERT_TRUE(waitFor([&] { return shown == 1; }));
    ctrl->stopFlag = true;
    ASSERT_TRUE(show.wait(3000));
    EXPECT_EQ(camsim_frames_decoded(), 1);
    EXPECT_EQ(camsim_last_decoded_frame(), static_cast<unsigned>(grabbed));
    EXPECT_EQ(ctrl->imageBuffer[0] | (ctrl->imageBuffer[1] << 8), grabbed);
    EXPECT_EQ(ctrl->imageBuffer[4], 64);
}

TEST_F(TucsenCamCtrlTest, StoppingEndsAShowLoopThatWaitsAndAGrabLoopOnASuspendedCamera) {
    ASSERT_EQ(ctrl->suspendDevice(), 0);
    ctrl->stopFlag = false;
    TucsenGrabThread grab;
    TucsenShowThread show;
    grab.start();
    show.start();
    QThread::msleep(50);
    EXPECT_FALSE(show.isFinished());
    ctrl->stopFlag = true;
    EXPECT_TRUE(show.wait(2000));
    EXPECT_TRUE(grab.wait(2000));
    EXPECT_EQ(camsim_frames_decoded(), 0);
}

TEST_F(TucsenCamCtrlTest, AFailedDecodeEmitsNothing) {
    camsim_fail("DecodeRaw2Image", 1, CAMCORE_E_DEVICE);
    ctrl->stopFlag = false;
    TucsenGrabThread grab;
    TucsenShowThread show;
    int shown = 0;
    QObject::connect(&show, &TucsenShowThread::updateImg, [&] { ++shown; });
    grab.start();
    show.start();
    ASSERT_TRUE(waitFor([&] { return shown >= 1; }));
    ctrl->stopFlag = true;
    ASSERT_TRUE(show.wait(2000));
    ASSERT_TRUE(grab.wait(2000));
    EXPECT_EQ(camsim_frames_decoded(), shown);
}

TEST_F(TucsenCamCtrlTest, SetCamParaStopsAtTheFirstFailure) {
    struct Case {
        const char* failing;
        const char* message;
        const char* lastApplied;
        const char* notCalled;
    };
    const Case cases[] = {
        {"SetExposure", "Exposure set failed.", "SetResolution 1 -> 0", "SetAnaloggain"},
        {"SetAnaloggain", "Analoggain set failed.", "SetExposure 300 -> 0", "SetBlacklevel"},
        {"SetBlacklevel", "Blacklevel set failed.", "SetAnaloggain 250 -> 0", "SetContrast"},
        {"SetPixelclock", "pixelclock set failed.", "SetFlip 1 -> 0", "SetRawDepth"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        camsim_clear_journal();
        g_messages.clear();
        camsim_fail(c.failing, 1, CAMCORE_E_DEVICE);
        ctrl->setCamPara(1, 300, 250, 12, 140, 66, true, 1, 2, 1);
        const std::string calls = journal();
        EXPECT_NE(calls.find(c.lastApplied), std::string::npos) << calls;
        EXPECT_EQ(calls.find(c.notCalled), std::string::npos) << calls;
        EXPECT_TRUE(g_messages.contains(c.message)) << g_messages.join('|').toStdString();
    }
    camsim_clear_journal();
    ctrl->setCamPara(1, 300, 250, 12, 140, 66, true, 1, 2, 0);
    EXPECT_NE(journal().find("SetHistogramState 1 -> 0\nSetFlip 1 -> 0\nSetPixelclock 2 -> 0\n"
                             "SetRawDepth 8 -> 0\n"),
              std::string::npos);
}

TEST_F(TucsenCamCtrlTest, PreviewAndCaptureSettersReportTheirFailure) {
    EXPECT_TRUE(ctrl->setCapturePara(5000, 585, 2));
    camsim_fail("SetPixelclock", 1, CAMCORE_E_DEVICE);
    EXPECT_FALSE(ctrl->setCapturePara(5000, 585, 3));
    EXPECT_TRUE(g_messages.contains("pixelclock set failed."));
    EXPECT_FLOAT_EQ(ctrl->getExposure(), 5000.0f);

    EXPECT_TRUE(ctrl->setPreviewPara(200, 200, 10, 140, 66, false, 0, 2));
    camsim_fail("SetAnaloggain", 1, CAMCORE_E_DEVICE);
    EXPECT_FALSE(ctrl->setPreviewPara(300, 200, 10, 140, 66, false, 0, 2));
    EXPECT_TRUE(g_messages.contains("Analoggain set failed."));
}

TEST_F(TucsenCamCtrlTest, HistogramsOfAPicture) {
    ctrl->frameList.append(picture(ctrl, 4, 3, 0));
    const QVector<double> zeros = ctrl->getRawHistogram(0);
    ASSERT_EQ(zeros.size(), 65536);
    EXPECT_DOUBLE_EQ(zeros.at(0), std::log(13.0));
    for (int bin = 1; bin < zeros.size(); ++bin) {
        ASSERT_EQ(zeros.at(bin), 0.0) << bin;
    }

    uchar* mixed = picture(ctrl, 2, 2, 0x1234);
    mixed[16] = 0xFF;  // the first sample is 0x12FF
    mixed[17] = 0x12;
    ctrl->frameList.append(mixed);
    struct Case {
        int low, high, at0x1234, at0x12FF;
    };
    const Case cases[] = {
        {0, 65535, 3, 1}, {0x1234, 0x1234, 3, 0}, {0x1235, 0x12FF, 0, 1}, {0x1300, 0xFFFF, 0, 0}};
    for (const Case& c : cases) {
        const QVector<int> counts = ctrl->getRawHistogramInRange(1, c.low, c.high);
        ASSERT_EQ(counts.size(), 65536);
        EXPECT_EQ(counts.at(0x1234), c.at0x1234) << c.low;
        EXPECT_EQ(counts.at(0x12FF), c.at0x12FF) << c.low;
    }

    // 8-bit samples count at their 16-bit level: 0x12 at 0x1212, 0xFF at
    // 0xFFFF.
    uchar* eight = picture(ctrl, 2, 2, 0);
    eight[8] = 8;
    eight[16] = eight[17] = eight[18] = 0x12;
    eight[19] = 0xFF;
    ctrl->frameList.append(eight);
    const QVector<int> eightCounts = ctrl->getRawHistogramInRange(2, 0, 65535);
    ASSERT_EQ(eightCounts.size(), 65536);
    EXPECT_EQ(eightCounts.at(0x1212), 3);
    EXPECT_EQ(eightCounts.at(0xFFFF), 1);
    EXPECT_EQ(eightCounts.at(0x12), 0);
    EXPECT_DOUBLE_EQ(ctrl->getRawHistogram(2).at(0x1212), std::log(4.0));

    // A header whose samples would run past the buffer is not read.
    uchar* broken = picture(ctrl, 4, 3, 0);
    broken[5] = 0xFF;
    broken[7] = 0xFF;
    ctrl->frameList.append(broken);
    EXPECT_TRUE(ctrl->getRawHistogram(3).isEmpty());
    EXPECT_TRUE(ctrl->getRawHistogramInRange(3, 0, 10).isEmpty());
}

}  // namespace
