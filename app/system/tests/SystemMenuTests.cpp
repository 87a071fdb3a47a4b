// The system page's menu and function area: one entry checked and disabled
// at a time, exactly one page shown, the debug line of each switch.

#include "SP_FuncFrame.h"
#include "SP_MethodFrame.h"
#include "SystemTestSupport.h"
#include "controller/CI_MainControl.h"
#include "mainwindow/SystemPageFrame.h"

#include <QApplication>
#include <QPushButton>

#include "QtPrinters.h"

#include <memory>

namespace {

const char* const kButtons[] = {"pushButton_UserManage", "pushButton_SampleType",
                                "pushButton_ReportTitle", "pushButton_DeviceSetting",
                                "pushButton_SystemInfo"};
const char* const kFrames[] = {"frame_UserManage", "frame_SampleType", "frame_ReportTitle",
                               "frame_DeviceSetting", "frame_SystemInfo"};

class SystemMenuTest : public SystemPageTest {
  protected:
    void SetUp() override {
        SystemPageTest::SetUp();
        LogLines log;
        m_page = std::make_unique<SystemPageFrame>(nullptr);
        m_page->show();
        m_firstLines = log.lines();
    }
    QPushButton* button(const char* name) const {
        return m_page->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    // "<checked buttons>/<enabled buttons>/<visible frames>" by table index.
    QString state() const {
        QString checked, enabled, shown;
        for (int i = 0; i < 5; ++i) {
            if (button(kButtons[i])->isChecked())
                checked += QString::number(i);
            if (button(kButtons[i])->isEnabled())
                enabled += QString::number(i);
            if (m_page->findChild<QWidget*>(QString::fromLatin1(kFrames[i]))->isVisible())
                shown += QString::number(i);
        }
        return checked + "/" + enabled + "/" + shown;
    }

    std::unique_ptr<SystemPageFrame> m_page;
    QStringList m_firstLines;
};

TEST_F(SystemMenuTest, FirstVisitShowsTheUserPageWithNoEntryHighlighted) {
    EXPECT_EQ(state(), "/01234/0");
    EXPECT_TRUE(m_firstLines.contains("frame_UserManage show."));
    EXPECT_TRUE(button("pushButton_SampleType")->isHidden());
    for (const char* name : kButtons) {
        EXPECT_TRUE(button(name)->text().isEmpty()) << name;
        EXPECT_TRUE(button(name)->isCheckable()) << name;
    }
}

TEST_F(SystemMenuTest, EachEntryChecksAndDisablesItselfAndShowsItsPage) {
    struct Case {
        const char* button;
        const char* state;
        const char* line;
    };
    const Case cases[] = {
        {"pushButton_ReportTitle", "2/0134/2", "frame_ReportTitle show."},
        {"pushButton_DeviceSetting", "3/0124/3", "DeviceSetting_Frame show."},
        {"pushButton_SystemInfo", "4/0123/4", "frame_SystemInfo show."},
        {"pushButton_UserManage", "0/1234/0", "frame_UserManage show."},
        {"pushButton_DeviceSetting", "3/0124/3", "DeviceSetting_Frame show."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        LogLines log;
        button(c.button)->click();
        EXPECT_EQ(state(), c.state);
        EXPECT_EQ(log.lines().filter(" show.").join(";"), c.line);
        // The current entry cannot be clicked again.
        button(c.button)->click();
        EXPECT_EQ(log.lines().filter(" show.").size(), 1);
    }
}

TEST_F(SystemMenuTest, TheHiddenSampleEntryIsReachedByValueOneOnly) {
    auto* func = m_page->findChild<SP_FuncFrame*>("frame_Func");
    LogLines log;
    func->slot_ChangeFuncFrame(SP_SampleType);
    EXPECT_EQ(state(), "/01234/1");
    EXPECT_EQ(log.lines().filter(" show."), QStringList{"frame_SampleType show."});
}

TEST_F(SystemMenuTest, LanguageChangeKeepsCheckedAndEnabledStates) {
    button("pushButton_ReportTitle")->click();
    const QString before = state();
    for (int language : {0, 1}) {
        s_control->changeLanguage(language);
        QApplication::processEvents();
        EXPECT_EQ(state(), before) << language;
        EXPECT_EQ(m_page->findChild<SP_MethodFrame*>("frame_Method")->windowTitle(), "Frame");
        for (const char* name : kButtons) {
            EXPECT_TRUE(button(name)->text().isEmpty()) << name;
        }
    }
}

using SystemMenuDeathTest = SystemMenuTest;

TEST_F(SystemMenuDeathTest, ValuesOutsideTheTableAreFatal) {
    auto* func = m_page->findChild<SP_FuncFrame*>("frame_Func");
    for (int value : {5, -1, 99}) {
        EXPECT_DEATH(func->slot_ChangeFuncFrame(static_cast<SP_FuncFrameType>(value)),
                     "Unknow SP_FuncFrameType\\.")
            << value;
    }
}

}  // namespace
