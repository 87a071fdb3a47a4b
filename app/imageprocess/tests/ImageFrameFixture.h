#pragma once

#include "ImageProcess_ImageFrame.h"
#include "TestStation.h"
#include "camera/TucsenCamCtrl.h"
#include "camera/ZdqCameraCtrl.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"

#include <QApplication>
#include <QScrollArea>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// One station for the whole test program (the controller is one per
// process), a shown image frame of a known size per test, and helpers that
// put captures into the camera records.
class ImageFrameTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (s_station == nullptr) {
            s_station = new TestStation(QStringLiteral("imageframe"));
            s_station->writeMachineIni(QStringLiteral("320"));
            s_control = CI_MainControl::getInstance();
            s_control->currentUser->userName = QStringLiteral("tarsk");
        }
    }

    void SetUp() override {
        frame = std::make_unique<ImageProcess_ImageFrame>();
        frame->resize(560, 640);
        frame->show();
        QApplication::processEvents();
        s_control->expType = Varnu;
    }

    void TearDown() override {
        frame.reset();
        ZdqCameraCtrl* camera = ZdqCameraCtrl::getInstance();
        camera->frameBuffer = nullptr;
        gelBuffer.clear();
        delete[] s_control->pictureBuffer;
        s_control->pictureBuffer = nullptr;
    }

    // A gel/UV capture of width x height, byte = f(column, row).
    template <typename F>
    void putGelCapture(int width, int height, F value) {
        gelBuffer.resize(static_cast<size_t>(width * height));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                gelBuffer[static_cast<size_t>(y * width + x)] = static_cast<uchar>(value(x, y));
            }
        }
        ZdqCameraCtrl* camera = ZdqCameraCtrl::getInstance();
        camera->frameBuffer = gelBuffer.data();
        camera->frameWidth = width;
        camera->frameHeight = height;
    }

    // Enters with a grey gel/UV capture whose pixels all differ a little.
    void enterWithGelPicture(int width = 40, int height = 30) {
        putGelCapture(width, height, [](int x, int y) { return (x * 7 + y * 3) % 256; });
        frame->enterIPFrameHandle();
        ASSERT_TRUE(frame->loaded());
    }

    // The cooled camera's picture buffer: rawSize x 3 bytes, the frame at
    // its start, as the western-blot page leaves it.
    void putCooledFrame(const std::vector<unsigned char>& frameBytes, int rawSize) {
        TucsenCamCtrl::getInstance()->rawSize = rawSize;
        auto* buffer = new uchar[static_cast<size_t>(rawSize) * 3]();
        std::copy(frameBytes.begin(), frameBytes.end(), buffer);
        s_control->pictureBuffer = buffer;
    }

    QSize scrollAreaSize() const {
        return frame->findChild<QScrollArea*>(QStringLiteral("scrollArea"))->size();
    }

    int auditRows(int languageId) const {
        return s_control->auditTrailDB->countAuditTrailByLanguage(languageId);
    }
    QString lastAuditContent(int languageId) const {
        const auto rows = s_control->auditTrailDB->loadAuditTrail(AuditTrailDB::kAnyPage, {}, {},
                                                                  {}, 0, 1, languageId);
        return rows.isEmpty() ? QString() : rows.first().content;
    }

    static TestStation* s_station;
    static CI_MainControl* s_control;
    std::unique_ptr<ImageProcess_ImageFrame> frame;
    std::vector<uchar> gelBuffer;
};
