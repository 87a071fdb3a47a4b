#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTranslator>

#include "widgets/AutoDialog.h"
#include "widgets/Datetime.h"
#include "widgets/InitialDialog.h"

namespace {

// Installs the compiled Chinese translation of this library for one test.
class Chinese : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(translator.load(QStringLiteral(VARNU_WIDGETS_QM))); }
    void TearDown() override {
        QCoreApplication::removeTranslator(&translator);
        QApplication::processEvents();
    }
    void install() {
        ASSERT_TRUE(QCoreApplication::installTranslator(&translator));
        // Language-change events are posted to the windows.
        QApplication::processEvents();
    }
    QTranslator translator;
};

TEST_F(Chinese, TranslatesEveryTextInItsContext) {
    install();
    struct Text {
        const char* context;
        const char* source;
        const char* chinese;
    };
    for (const Text& t : {
             Text{"InitialDialog", "Initializing...", "正在初始化..."},
             Text{"Varnu_BottomBarFrame", "Auto exposuring...", "正在自动曝光..."},
             Text{"Varnu_BottomBarFrame", "Auto focusing...", "正在自动对焦..."},
             Text{"Varnu_ImageFrame", "Opening external application WPS...",
                  "正在打开外部应用WPS..."},
             Text{"WesternBlot_ImageFrame", "Estimating exposure time...", "正在估算曝光时间..."},
             Text{"Datetime", "Submit", "确定"},
             Text{"Datetime", "Cancel", "取消"},
             Text{"Datetime", "Now", "现在"},
             // Window titles stay as they are.
             Text{"InitialDialog", "Dialog", "Dialog"},
             Text{"AutoDialog", "Dialog", "Dialog"},
             Text{"LoadingDialog", "Dialog", "Dialog"},
             Text{"WaitingDialog", "Dialog", "Dialog"},
             Text{"Datetime", "Dialog", "Dialog"},
         })
        EXPECT_EQ(QCoreApplication::translate(t.context, t.source), QString::fromUtf8(t.chinese))
            << t.context << " / " << t.source;
}

TEST_F(Chinese, DialogsBuiltAfterTheSwitchShowChineseTexts) {
    install();
    InitialDialog initial;
    EXPECT_EQ(initial.findChild<QLabel*>(QStringLiteral("label_Text"))->text(),
              QStringLiteral("正在初始化..."));
    Datetime picker;
    EXPECT_EQ(picker.findChild<QPushButton*>(QStringLiteral("Btn_reset_2"))->text(),
              QStringLiteral("确定"));
}

TEST_F(Chinese, PickerFollowsALanguageSwitchButBusyDialogsKeepTheirText) {
    InitialDialog initial;
    Datetime picker;
    install();
    EXPECT_EQ(initial.findChild<QLabel*>(QStringLiteral("label_Text"))->text(),
              QStringLiteral("Initializing..."));
    EXPECT_EQ(picker.findChild<QPushButton*>(QStringLiteral("Btn_now"))->text(),
              QStringLiteral("现在"));
    EXPECT_EQ(picker.findChild<QPushButton*>(QStringLiteral("Btn_reset"))->text(),
              QStringLiteral("取消"));
    EXPECT_EQ(picker.findChild<QPushButton*>(QStringLiteral("Btn_reset_2"))->text(),
              QStringLiteral("确定"));

    QCoreApplication::removeTranslator(&translator);
    QApplication::processEvents();
    EXPECT_EQ(picker.findChild<QPushButton*>(QStringLiteral("Btn_reset_2"))->text(),
              QStringLiteral("Submit"));
}

}  // namespace
