#pragma once

#include "TestStation.h"
#include "camera/ZdqCameraCtrl.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "database/UserInfoDB.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

// One station for the whole test program (the controller is one per
// process), English by default, no password re-check unless a test turns it
// on, and a gel/UV capture record a test can fill.
class PageTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (s_station == nullptr) {
            s_station = new TestStation(QStringLiteral("imageprocess-page"));
            s_station->writeMachineIni(QStringLiteral("320"));
            s_control = CI_MainControl::getInstance();
            // The default administrator, whose password is its name.
            *s_control->currentUser = *s_control->userInfoDB->loadByName(QStringLiteral("tarsk"));
        }
    }

    void SetUp() override {
        s_control->expType = Varnu;
        s_control->mainWindowShown = false;
        s_control->changeLanguage(1);
        QApplication::processEvents();
    }

    void TearDown() override {
        ZdqCameraCtrl::getInstance()->frameBuffer = nullptr;
        gelBuffer.clear();
        s_control->mainWindowShown = false;
        s_control->changeLanguage(1);
        QApplication::processEvents();
    }

    // A gel/UV capture of width x height, byte = value(column, row).
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

    // Object names of the enabled push buttons under `root`, sorted.
    static QStringList enabledButtons(const QWidget& root) {
        QStringList names;
        for (const QPushButton* button : root.findChildren<QPushButton*>()) {
            if (button->isEnabled()) {
                names << button->objectName();
            }
        }
        names.sort();
        return names;
    }
    static QStringList allButtons(const QWidget& root) {
        QStringList names;
        for (const QPushButton* button : root.findChildren<QPushButton*>()) {
            names << button->objectName();
        }
        names.sort();
        return names;
    }
    static void click(QWidget& root, const char* name) {
        auto* button = root.findChild<QPushButton*>(QLatin1String(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }

    int auditRows(int languageId) const {
        return s_control->auditTrailDB->countAuditTrailByLanguage(languageId);
    }

    static TestStation* s_station;
    static CI_MainControl* s_control;
    std::vector<uchar> gelBuffer;
};
