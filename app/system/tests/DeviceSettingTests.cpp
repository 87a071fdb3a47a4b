// Device settings: the set-up on every show from the stored options and the
// experiment type (no prompt, no write-back, no audit row), the default
// storage path, re-checked and audited changes, and the light auto-close
// command seen by the dark-room simulator.

#include "DarkroomSimProcess.h"
#include "DeviceSettingFrame.h"
#include "SystemTestSupport.h"
#include "controller/CI_MainControl.h"
#include "serial/ASyncSerialPortThread.h"
#include "settings/StoragePathDefault.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>

#include "QtPrinters.h"

#include <memory>

namespace {

const char* const kKeys[] = {"WbMarker",           "shutDownTime",   "imageShowMode",
                             "sampleImageBkColor", "isAddWaterMark", "isCheckLogin",
                             "storagePath"};

class DeviceSettingTest : public SystemPageTest {
  protected:
    void SetUp() override {
        SystemPageTest::SetUp();
        for (const char* key : kKeys) {
            QSettings(s_station->filePath("Ini/userOption.ini"), QSettings::IniFormat)
                .remove(QString("UserOption/") + key);
        }
        s_station->setUserOption("storagePath", "/srv/pictures");
        s_station->setUserOption("isCheckLogin", 0);
    }
    void openPage() {
        m_page = std::make_unique<DeviceSettingFrame>(nullptr);
        m_page->show();
    }
    template <typename T>
    T* child(const char* name) {
        return m_page->findChild<T*>(QString::fromLatin1(name));
    }
    // Visible groups in their order from the top, and the checked radios.
    QString layout() {
        QList<QGroupBox*> groups;
        for (QGroupBox* group : m_page->findChildren<QGroupBox*>()) {
            if (group->isVisible())
                groups << group;
        }
        std::sort(groups.begin(), groups.end(),
                  [](QGroupBox* a, QGroupBox* b) { return a->y() < b->y(); });
        QStringList names;
        for (int i = 0; i < groups.size(); ++i) {
            names << groups[i]->objectName();
            for (int j = 0; j < i; ++j) {
                EXPECT_FALSE(groups[i]->geometry().intersects(groups[j]->geometry()))
                    << groups[i]->objectName().toStdString();
            }
        }
        return names.join(",");
    }
    QString checkedRadios() {
        QStringList names;
        for (QRadioButton* radio : m_page->findChildren<QRadioButton*>()) {
            if (radio->isChecked())
                names << radio->objectName().mid(12);
        }
        names.sort();
        return names.join(",");
    }
    QString fileText() {
        QFile file(s_station->filePath("Ini/userOption.ini"));
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll());
    }

    std::unique_ptr<DeviceSettingFrame> m_page;
};

TEST_F(DeviceSettingTest, SetUpShowsStoredValuesForEachExperimentTypeWithoutActing) {
    struct Case {
        int expType;
        const char* user;
        QVariantMap stored;
        const char* groups;
        const char* radios;
        int minutes;
    };
    const char* gel = "groupBox_Language,groupBox,groupBox_AddWaterMark,groupBox_2";
    const char* blot =
        "groupBox_Language,groupBox,groupBox_LightAutoClose,groupBox_AddWaterMark,groupBox_2,"
        "groupBox_ImageShowMode,groupBox_Marker,groupBox_SampleImageBackColor";
    const Case cases[] = {
        {0, "tarsk", {}, gel, "AddCheckLogin,AddWaterMark,Center,White,Yes", 15},
        {1,
         "tarsk",
         {{"WbMarker", true},
          {"shutDownTime", 0},
          {"imageShowMode", 1},
          {"sampleImageBkColor", 1},
          {"isAddWaterMark", 1},
          {"isCheckLogin", 1}},
         blot,
         "Black,Fill,No,NoCheckLogin,NoWaterMark",
         0},
        {1,
         "tarsk",
         {{"imageShowMode", 2}, {"shutDownTime", 42}},
         blot,
         "AddCheckLogin,AddWaterMark,White,Yes",
         42},
        {2,
         "tarsk",
         {{"isAddWaterMark", 1}},
         gel,
         "AddCheckLogin,Center,NoWaterMark,White,Yes",
         15},
        {0,
         "viewer",
         {},
         "groupBox_Language,groupBox,groupBox_AddWaterMark",
         "AddCheckLogin,AddWaterMark,Center,White,Yes",
         15},
    };
    addAccount("viewer");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.expType) + " " + c.user);
        SetUp();
        logInAs(c.user);
        for (auto it = c.stored.begin(); it != c.stored.end(); ++it)
            s_station->setUserOption(it.key(), it.value());
        s_control->expType = c.expType;
        const int before = lastAuditId();
        openPage();
        const QString afterSetUp = fileText();
        // Shown again with another type: the groups follow the type.
        m_page->hide();
        m_page->show();
        EXPECT_EQ(layout(), c.groups);
        EXPECT_EQ(checkedRadios(), c.radios);
        EXPECT_EQ(child<QSpinBox>("spinBox_Time")->value(), c.minutes);
        EXPECT_EQ(child<QLineEdit>("lineEdit_StoragePath")->text(), "/srv/pictures");
        EXPECT_FALSE(child<QLineEdit>("lineEdit_StoragePath")->isEnabled());
        EXPECT_EQ(child<QComboBox>("comboBox_Language")->currentIndex(), 1);
        EXPECT_TRUE(auditRowsAfter(before).isEmpty());
        EXPECT_EQ(fileText(), afterSetUp);  // a second show writes nothing
        // Only a missing time is written (15); every other key stays as stored.
        EXPECT_EQ(s_station->userOption("shutDownTime").toInt(), c.minutes);
        EXPECT_EQ(s_station->userOption("imageShowMode"), c.stored.value("imageShowMode"));
        EXPECT_EQ(s_station->userOption("isAddWaterMark"), c.stored.value("isAddWaterMark"));
    }
}

TEST_F(DeviceSettingTest, AnEmptyStoragePathTakesTheDefault) {
    s_station->setUserOption("storagePath", "");
    LogLines log;
    openPage();
    const QString expected = defaultStoragePath(fixedDriveRoots(), desktopLocation());
    EXPECT_EQ(child<QLineEdit>("lineEdit_StoragePath")->text(), expected);
    EXPECT_EQ(s_station->userOption("storagePath").toString(), expected);
    EXPECT_TRUE(log.contains("mainCtrl->userOpt.storagePath:" + expected));
}

TEST(StoragePathDefault, ByTheFixedDrives) {
    const QString desktop = "/home/user/Desktop";
    const std::pair<QStringList, QString> cases[] = {
        {{"/"}, "/home/user/Desktop/UserImages"}, {{}, "/home/user/Desktop/UserImages"},
        {{"C:/", "D:/"}, "D:/UserImages"},        {{"C:/", "D:/", "E:/"}, "D:/UserImages"},
        {{"/", "/data"}, "/data/UserImages"},
    };
    for (const auto& [drives, expected] : cases) {
        EXPECT_EQ(defaultStoragePath(drives, desktop), expected) << drives.join(" ").toStdString();
    }
    EXPECT_EQ(fixedDriveRoots(), QStringList{"/"});
}

// A refused re-check puts each guarded group back and writes nothing; a
// passed one stores and audits, also for the button already selected.
TEST_F(DeviceSettingTest, GuardedGroupsAskAgainAndAuditTheirChanges) {
    struct Case {
        const char* radio;
        const char* key;
        const char* restored;
        QStringList audit;
    };
    const Case cases[] = {
        {"radioButton_NoWaterMark",
         "isAddWaterMark",
         "radioButton_AddWaterMark",
         {"0|系统|tarsk|水印设置: 关闭", "1|SystemPage|tarsk|Watermark Set: Close"}},
        {"radioButton_AddWaterMark",
         "isAddWaterMark",
         "radioButton_AddWaterMark",
         {"0|系统|tarsk|水印设置: 打开", "1|SystemPage|tarsk|Watermark Set: Open"}},
        {"radioButton_NoCheckLogin",
         "isCheckLogin",
         "radioButton_AddCheckLogin",
         {"0|系统|tarsk|电子签名: 关闭", "1|SystemPage|tarsk|Electronic Signature: Close"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radio);
        SetUp();
        s_station->setUserOption(c.key, 0);
        openPage();
        const int before = lastAuditId();
        {
            ModalDriver driver;
            refuseRecheck(driver);
            child<QRadioButton>(c.radio)->click();
            EXPECT_EQ(driver.pendingSteps(), 0);
        }
        EXPECT_TRUE(child<QRadioButton>(c.restored)->isChecked());
        EXPECT_EQ(s_station->userOption(c.key).toInt(), 0);
        EXPECT_TRUE(auditRowsAfter(before).isEmpty());
        {
            ModalDriver driver;
            passRecheck(driver, "tarsk");
            child<QRadioButton>(c.radio)->click();
            EXPECT_EQ(driver.pendingSteps(), 0);
        }
        EXPECT_TRUE(child<QRadioButton>(c.radio)->isChecked());
        EXPECT_EQ(s_station->userOption(c.key).toInt(),
                  QString(c.radio).startsWith("radioButton_No") ? 1 : 0);
        EXPECT_EQ(auditRowsAfter(before), c.audit);
    }
}

TEST_F(DeviceSettingTest, StoragePathIsChosenAfterTheRecheckAndAuditedLiterally) {
    const QString chosen = QDir(s_station->path()).filePath("pics %1 100%");
    QDir().mkpath(chosen);
    openPage();
    const int before = lastAuditId();
    {
        ModalDriver driver;
        refuseRecheck(driver);
        child<QPushButton>("pushButton_GetExistDir")->click();
        EXPECT_EQ(driver.pendingSteps(), 0);
    }
    {
        ModalDriver driver;
        passRecheck(driver, "tarsk");
        driver.onDialog([](QDialog* d) { d->reject(); });  // cancelled: nothing
        child<QPushButton>("pushButton_GetExistDir")->click();
        EXPECT_EQ(driver.pendingSteps(), 0);
    }
    EXPECT_EQ(s_station->userOption("storagePath").toString(), "/srv/pictures");
    EXPECT_TRUE(auditRowsAfter(before).isEmpty());
    {
        ModalDriver driver;
        passRecheck(driver, "tarsk");
        QString caption;
        driver.onDialog([&](QDialog* d) {
            auto* dialog = qobject_cast<QFileDialog*>(d);
            ASSERT_NE(dialog, nullptr);
            caption = dialog->windowTitle();
            dialog->setDirectory(chosen);
            // The name field as a user types it: the chosen folder.
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(chosen);
            d->accept();
        });
        child<QPushButton>("pushButton_GetExistDir")->click();
        EXPECT_EQ(driver.pendingSteps(), 0);
        EXPECT_EQ(caption, "Get Dir");
    }
    EXPECT_EQ(s_station->userOption("storagePath").toString(), chosen);
    EXPECT_EQ(child<QLineEdit>("lineEdit_StoragePath")->text(), chosen);
    EXPECT_EQ(
        auditRowsAfter(before),
        (QStringList{
            "0|系统|tarsk|修改图像保存路径: 修改前:/srv/pictures 修改后:" + chosen,
            "1|SystemPage|tarsk|Modify image save path: before: /srv/pictures after: " + chosen}));
}

TEST_F(DeviceSettingTest, UnguardedGroupsStoreAtOnce) {
    s_control->expType = 1;
    openPage();
    const int before = lastAuditId();
    child<QRadioButton>("radioButton_No")->click();
    child<QRadioButton>("radioButton_Fill")->click();
    child<QRadioButton>("radioButton_Black")->click();
    EXPECT_EQ(s_station->userOption("WbMarker").toString(), "true");
    EXPECT_EQ(s_station->userOption("imageShowMode").toInt(), 1);
    EXPECT_EQ(s_station->userOption("sampleImageBkColor").toInt(), 1);
    child<QRadioButton>("radioButton_Yes")->click();
    EXPECT_EQ(s_station->userOption("WbMarker").toString(), "false");
    EXPECT_TRUE(auditRowsAfter(before).isEmpty());
}

TEST_F(DeviceSettingTest, AnUnwritableSettingsFileIsReportedAndTheStoredValueShown) {
    s_control->expType = 1;
    s_station->setUserOption("WbMarker", false);
    s_station->setUserOption("isAddWaterMark", 0);
    openPage();
    const QString ini = s_station->filePath("Ini/userOption.ini");
    if (!makeUnwritable(ini)) {
        GTEST_SKIP() << "this file system cannot make a file unwritable";
    }
    const int before = lastAuditId();
    ModalDriver driver;
    driver.answerMessageBox(QMessageBox::Ok);
    passRecheck(driver, "tarsk");
    driver.answerMessageBox(QMessageBox::Ok);
    child<QRadioButton>("radioButton_No")->click();
    child<QRadioButton>("radioButton_NoWaterMark")->click();
    makeWritable(ini);
    EXPECT_EQ(driver.pendingSteps(), 0);
    EXPECT_EQ(driver.messages(),
              (QStringList{"Tips|Save failed, the settings file cannot be written!",
                           "Tips|Save failed, the settings file cannot be written!"}));
    EXPECT_TRUE(child<QRadioButton>("radioButton_Yes")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("radioButton_AddWaterMark")->isChecked());
    EXPECT_EQ(s_station->userOption("WbMarker").toString(), "false");
    EXPECT_EQ(s_station->userOption("isAddWaterMark").toInt(), 0);
    EXPECT_TRUE(auditRowsAfter(before).isEmpty());
}

TEST_F(DeviceSettingTest, ChoosingALanguageSwitchesAtOnce) {
    openPage();
    child<QComboBox>("comboBox_Language")->setCurrentIndex(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(s_station->userOption("LanguageID").toInt(), 0);
    EXPECT_EQ(child<QGroupBox>("groupBox_Language")->title(), "语言设置");
    child<QComboBox>("comboBox_Language")->setCurrentIndex(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(s_station->userOption("LanguageID").toInt(), 1);
    EXPECT_EQ(child<QGroupBox>("groupBox_Language")->title(), "Language Setting");
    EXPECT_EQ(child<QComboBox>("comboBox_Language")->currentIndex(), 1);
}

// A language that cannot be stored switches no text and no picture: the
// list goes back to the stored language after one warning.
TEST_F(DeviceSettingTest, ALanguageThatCannotBeStoredSwitchesNothing) {
    openPage();
    const QString ini = s_station->filePath("Ini/userOption.ini");
    if (!makeUnwritable(ini)) {
        makeWritable(ini);
        GTEST_SKIP() << "this file system cannot make a file unwritable";
    }
    ModalDriver driver;
    driver.answerMessageBox(QMessageBox::Ok);
    child<QComboBox>("comboBox_Language")->setCurrentIndex(0);
    QCoreApplication::processEvents();
    makeWritable(ini);
    EXPECT_EQ(driver.pendingSteps(), 0);
    EXPECT_EQ(driver.messages(),
              QStringList{"Tips|Save failed, the settings file cannot be written!"});
    EXPECT_EQ(child<QComboBox>("comboBox_Language")->currentIndex(), 1);
    EXPECT_EQ(child<QGroupBox>("groupBox_Language")->title(), "Language Setting");
    EXPECT_EQ(s_station->userOption("LanguageID").toInt(), 1);
    EXPECT_EQ(s_control->getLanguageID(), 1);
}

TEST_F(DeviceSettingTest, LightAutoCloseTimeReachesTheControllerAsCommandCC) {
    DarkroomSimProcess sim("shutdown-link");
    ASSERT_TRUE(sim.start());
    s_control->ConnectToPort(sim.linkPath());
    ASSERT_TRUE(waitFor([&] { return s_control->serialPortThread->isRunning(); }, 3000));
    s_control->expType = 1;
    openPage();
    const std::pair<int, QByteArray> cases[] = {
        {15, QByteArray::fromHex("68A0CC010F0A")},
        {0, QByteArray::fromHex("68A0CC010005")},
        {99, QByteArray::fromHex("68A0CC016366")},
    };
    for (const auto& [minutes, frame] : cases) {
        SCOPED_TRACE(minutes);
        sim.command("clear");
        child<QSpinBox>("spinBox_Time")->setValue(minutes);
        child<QPushButton>("pushButton_SimpleOK")->click();
        EXPECT_EQ(s_station->userOption("shutDownTime").toInt(), minutes);
        EXPECT_TRUE(waitFor(
            [&] {
                for (const SimJournalEntry& entry : sim.journal()) {
                    if (entry.bytes == frame)
                        return true;
                }
                return false;
            },
            5000));
    }
    // A stored 0 stays 0 on the next visit.
    child<QSpinBox>("spinBox_Time")->setValue(0);
    child<QPushButton>("pushButton_SimpleOK")->click();
    m_page->hide();
    m_page->show();
    EXPECT_EQ(child<QSpinBox>("spinBox_Time")->value(), 0);
    s_control->serialPortThread->closePort();
    s_control->serialPortThread->wait(3000);
}

using DeviceSettingDeathTest = DeviceSettingTest;

TEST_F(DeviceSettingDeathTest, UnknownLanguageOrExperimentTypeIsFatal) {
    s_station->setUserOption("LanguageID", 7);
    EXPECT_DEATH(openPage(), "Unknow Language\\.");
    s_station->setUserOption("LanguageID", 1);
    s_control->expType = 3;
    EXPECT_DEATH(openPage(), "Unknow CameraBrandAndModel\\.");
}

}  // namespace
