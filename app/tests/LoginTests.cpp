#include "FileFaults.h"
#include "ModalDriver.h"
#include "TestStation.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "database/UserInfoDB.h"
#include "login/CheckLoginDialog.h"
#include "login/LoginDialog.h"
#include "login/RememberedLogins.h"
#include "startup/AuditFailureBox.h"
#include "startup/LogHandler.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// One controller per process, on one station; the users are added once.
class LoginTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (s_station != nullptr) {
            return;  // set up by the first suite of this executable
        }
        s_station = new TestStation("login");
        s_station->writeMachineIni("320");
        s_control = CI_MainControl::getInstance();
        s_control->machineName = 0;
        UserInfo alice("alice", "Secret1", "Alice Archer", false, true, true, false, true, false);
        UserInfo bob("bob", "pa'ss \"word\"", "Bob", false, false, false, true, false, false);
        ASSERT_TRUE(s_control->userInfoDB->insertUser(alice));
        ASSERT_TRUE(s_control->userInfoDB->insertUser(bob));
    }

    int auditRows() { return s_control->auditTrailDB->countAuditTrailByLanguage(1); }

    static TestStation* s_station;
    static CI_MainControl* s_control;
};

TestStation* LoginTest::s_station = nullptr;
CI_MainControl* LoginTest::s_control = nullptr;

// The named widgets of a login dialog.
struct LoginForm {
    explicit LoginForm(LoginDialog& d)
        : users(d.findChild<QComboBox*>("comboBox_Users")),
          password(d.findChild<QLineEdit*>("lineEdit_Password")),
          warning(d.findChild<QLabel*>("label_WarnPw")),
          remember(d.findChild<QCheckBox*>("checkBox_Remember")),
          login(d.findChild<QPushButton*>("pushButton_Login")),
          cancel(d.findChild<QPushButton*>("pushButton_Cancel")) {}
    QComboBox* users;
    QLineEdit* password;
    QLabel* warning;
    QCheckBox* remember;
    QPushButton* login;
    QPushButton* cancel;
};

TEST_F(LoginTest, ListsTheUsersAndStartsOnTheFirst) {
    LoginDialog dialog;
    LoginForm f(dialog);
    ASSERT_NE(f.users, nullptr);
    const QStringList names = s_control->userInfoDB->loadUserNames();
    ASSERT_EQ(names.size(), 3);
    EXPECT_TRUE(names.contains("tarsk"));
    ASSERT_EQ(f.users->count(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        EXPECT_EQ(f.users->itemText(i), names.at(i));
    }
    EXPECT_EQ(f.users->currentText(), names.first());
    EXPECT_EQ(f.password->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(f.password->text().isEmpty());
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST_F(LoginTest, WrongPasswordsAreRefusedAndLeaveNoTrace) {
    struct Case {
        const char* typed;
        const char* warning;
    };
    const Case cases[] = {{"", "Please enter password !"},
                          {"secret1", "Password error !"},
                          {"Secret1 ", "Password error !"},
                          {"Secret", "Password error !"},
                          {"$argon$", "Password error !"}};
    const int rowsBefore = auditRows();
    LoginDialog dialog;
    LoginForm f(dialog);
    f.users->setCurrentText("alice");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        f.password->setText(c.typed);
        f.login->click();
        EXPECT_EQ(f.warning->text(), c.warning);
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(f.password->text(), c.typed);
    }
    EXPECT_EQ(auditRows(), rowsBefore);
    EXPECT_EQ(f.warning->styleSheet(), "color:red; font-size:12px;");
}

TEST_F(LoginTest, ALoginMakesTheCurrentUserAndWritesTwoAuditRows) {
    const int rowsBefore = auditRows();
    LoginDialog dialog;
    LoginForm f(dialog);
    f.users->setCurrentText("alice");
    f.remember->setChecked(false);
    f.password->setText("Secret1");
    f.login->click();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);

    const UserInfo* user = s_control->currentUser;
    EXPECT_EQ(user->userName, "alice");
    EXPECT_EQ(user->realName, "Alice Archer");
    EXPECT_FALSE(user->authUserManage);
    EXPECT_TRUE(user->authImgCap);
    EXPECT_TRUE(user->authImgProcess);
    EXPECT_FALSE(user->authRptManage);
    EXPECT_TRUE(user->authRptExport);
    EXPECT_EQ(user->uuid, s_control->userInfoDB->loadByName("alice")->uuid);

    EXPECT_EQ(auditRows(), rowsBefore + 1);
    const QList<AuditTrailInfo> zh =
        s_control->auditTrailDB->loadAuditTrail(4, "", "", "", 0, 1, 0);
    const QList<AuditTrailInfo> en =
        s_control->auditTrailDB->loadAuditTrail(4, "", "", "", 0, 1, 1);
    ASSERT_EQ(zh.size(), 1);
    ASSERT_EQ(en.size(), 1);
    EXPECT_EQ(zh[0].content, QStringLiteral("用户登录: alice"));
    EXPECT_EQ(zh[0].model, QStringLiteral("系统"));
    EXPECT_EQ(zh[0].handler, "alice");
    EXPECT_EQ(en[0].content, QStringLiteral("user login： alice"));
    EXPECT_EQ(en[0].model, "SystemPage");
}

// The login goes on when its audit rows cannot be stored (an unwritable
// station folder), and the user is told once.
TEST_F(LoginTest, ALoginWhoseAuditRowsCannotBeStoredIsToldOnce) {
    static bool installed = false;
    if (!installed) {
        installAuditFailureBox(s_control);
        installed = true;
    }
    s_station->setUserOption("LanguageID", 1);
    const int rowsBefore = auditRows();
    const QString folder = s_station->filePath("DataBase");
    if (!makeUnwritable(folder)) {
        makeWritable(folder);
        GTEST_SKIP() << "this file system cannot make a folder unwritable";
    }
    const QtMessageHandler previousHandler = qInstallMessageHandler(outputMessage);
    ModalDriver driver;
    driver.answerMessageBox(QMessageBox::Ok);
    LoginDialog dialog;
    LoginForm f(dialog);
    f.users->setCurrentText("alice");
    f.remember->setChecked(false);
    f.password->setText("Secret1");
    f.login->click();
    qInstallMessageHandler(previousHandler);
    makeWritable(folder);
    s_station->setUserOption("LanguageID", 0);

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(s_control->currentUser->userName, "alice");
    EXPECT_EQ(driver.pendingSteps(), 0);
    EXPECT_EQ(driver.messages(),
              QStringList{"Warning|" + auditFailureBoxText("user login： alice")});
    EXPECT_EQ(auditRows(), rowsBefore);
    const QString log = s_station->todaysLog();
    EXPECT_TRUE(log.contains(QRegularExpression(
        "\\[Warning\\][0-9: -]+    Audit trail not stored \\(.+\\): user login： alice\\n")))
        << log.right(2000).toStdString();
}

TEST_F(LoginTest, PasswordsWithQuotesAndBlanksWork) {
    LoginDialog dialog;
    LoginForm f(dialog);
    f.users->setCurrentText("bob");
    f.password->setText("pa'ss \"word\"");
    f.login->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(s_control->currentUser->userName, "bob");
}

TEST_F(LoginTest, ChoosingAnotherUserClearsThePassword) {
    LoginDialog dialog;
    LoginForm f(dialog);
    f.users->setCurrentText("alice");
    f.password->setText("typed by hand");
    f.users->setCurrentText("bob");
    EXPECT_TRUE(f.password->text().isEmpty());
}

// "Remember password" logs in with one click, and no dialog ever shows the
// password: the field stays empty.
TEST_F(LoginTest, RememberedUserLogsInWithOneClick) {
    {
        LoginDialog dialog;
        LoginForm f(dialog);
        f.users->setCurrentText("alice");
        f.remember->setChecked(true);
        f.password->setText("Secret1");
        f.login->click();
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
    }
    const QUuid alice = s_control->userInfoDB->loadByName("alice")->uuid;
    EXPECT_FALSE(RememberedLogins::tokenFor(alice).isEmpty());
    EXPECT_TRUE(s_control->userInfoDB->loadByName("alice")->isRemember);
    {
        LoginDialog dialog;
        LoginForm f(dialog);
        f.users->setCurrentText("alice");
        EXPECT_TRUE(f.remember->isChecked());
        EXPECT_TRUE(f.password->text().isEmpty());
        EXPECT_FALSE(f.password->placeholderText().isEmpty());
        f.login->click();
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(s_control->currentUser->userName, "alice");
    }
    {
        // Clearing the box asks for the password again and forgets the user.
        LoginDialog dialog;
        LoginForm f(dialog);
        f.users->setCurrentText("alice");
        f.remember->setChecked(false);
        f.login->click();
        EXPECT_EQ(f.warning->text(), "Please enter password !");
        f.password->setText("Secret1");
        f.login->click();
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_TRUE(RememberedLogins::tokenFor(alice).isEmpty());
    {
        LoginDialog dialog;
        LoginForm f(dialog);
        f.users->setCurrentText("alice");
        EXPECT_FALSE(f.remember->isChecked());
        EXPECT_TRUE(f.password->placeholderText().isEmpty());
        f.login->click();
        EXPECT_EQ(f.warning->text(), "Please enter password !");
        EXPECT_NE(dialog.result(), QDialog::Accepted);
    }
}

TEST_F(LoginTest, AForgedTokenDoesNotLogIn) {
    const QUuid bob = s_control->userInfoDB->loadByName("bob")->uuid;
    std::unique_ptr<UserInfo> record = s_control->userInfoDB->loadByName("bob");
    record->isRemember = true;
    s_control->userInfoDB->updateUser(*record);
    EXPECT_TRUE(RememberedLogins::store(bob, "not-a-token"));
    LoginDialog dialog;
    LoginForm f(dialog);
    f.users->setCurrentText("bob");
    EXPECT_TRUE(f.remember->isChecked());
    EXPECT_TRUE(f.password->placeholderText().isEmpty());
    f.login->click();
    EXPECT_EQ(f.warning->text(), "Please enter password !");
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(RememberedLogins::forget(bob));
}

TEST_F(LoginTest, CancelRejectsWithoutAuditRows) {
    const int rowsBefore = auditRows();
    LoginDialog dialog;
    LoginForm f(dialog);
    f.cancel->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(auditRows(), rowsBefore);
}

TEST_F(LoginTest, BackgroundFollowsTheModel) {
    const struct {
        int model;
        const char* picture;
    } cases[] = {{0, ":/Image/login.png"}, {1, ":/Image/login.png"}, {2, ":/Image/login_550.png"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        s_control->machineName = c.model;
        LoginDialog dialog;
        const QImage shown =
            dialog.palette().brush(QPalette::Active, QPalette::Window).textureImage();
        EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32),
                  QImage(c.picture).convertToFormat(QImage::Format_ARGB32));
    }
    s_control->machineName = 0;
}

TEST_F(LoginTest, TheLeftButtonDragsTheWindow) {
    LoginDialog dialog;
    dialog.move(100, 100);
    // Moves carry the held button, as while a user drags.
    auto send = [&](QEvent::Type type, Qt::MouseButton button, QPoint global) {
        QMouseEvent event(type, QPointF(dialog.mapFromGlobal(global)), QPointF(global),
                          type == QEvent::MouseMove ? Qt::NoButton : button, button,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&dialog, &event);
    };
    send(QEvent::MouseButtonPress, Qt::RightButton, QPoint(150, 150));
    send(QEvent::MouseMove, Qt::RightButton, QPoint(190, 170));
    EXPECT_EQ(dialog.pos(), QPoint(100, 100));
    send(QEvent::MouseButtonRelease, Qt::RightButton, QPoint(190, 170));

    send(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(150, 150));
    send(QEvent::MouseMove, Qt::LeftButton, QPoint(190, 170));
    EXPECT_EQ(dialog.pos(), QPoint(140, 120));
    send(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(190, 170));
    send(QEvent::MouseMove, Qt::LeftButton, QPoint(300, 300));
    EXPECT_EQ(dialog.pos(), QPoint(140, 120));
}

TEST_F(LoginTest, ChineseTextsWithTheTranslator) {
    s_control->changeLanguage(0);
    {
        LoginDialog dialog;
        LoginForm f(dialog);
        EXPECT_EQ(f.login->text(), QStringLiteral("登录"));
        EXPECT_EQ(f.remember->text(), QStringLiteral("记住密码"));
        f.users->setCurrentText("alice");
        f.password->setText("nope");
        f.login->click();
        EXPECT_EQ(f.warning->text(), QStringLiteral("密码错误！"));
    }
    s_control->changeLanguage(1);
}

// A store without accounts lists nobody; Login then refuses instead of
// dereferencing a missing record.
TEST_F(LoginTest, NobodyToLogInIsRefused) {
    const std::unique_ptr<QList<UserInfo>> all = s_control->userInfoDB->loadAll();
    ASSERT_TRUE(all);
    for (const UserInfo& u : *all) {
        ASSERT_TRUE(s_control->userInfoDB->deleteUser(u.uuid));
    }
    {
        LoginDialog dialog;
        LoginForm f(dialog);
        EXPECT_EQ(f.users->count(), 0);
        f.password->setText("tarsk");
        f.login->click();
        EXPECT_EQ(f.warning->text(), "Password error !");
        EXPECT_NE(dialog.result(), QDialog::Accepted);
    }
    for (const UserInfo& u : *all) {
        ASSERT_TRUE(s_control->userInfoDB->insertUser(u));
    }
}

// The re-check gate, logged in as alice.
class CheckLoginTest : public LoginTest {
  protected:
    void SetUp() override {
        *s_control->currentUser = *s_control->userInfoDB->loadByName("alice");
        s_control->mainWindowShown = true;
        s_station->setUserOption("isCheckLogin", 0);
    }
    void TearDown() override { s_control->mainWindowShown = false; }

    static void type(QDialog* d, const QString& text) {
        d->findChild<QLineEdit*>("lineEdit_Password")->setText(text);
    }
    static void click(QDialog* d, const char* button) {
        d->findChild<QPushButton*>(button)->click();
    }
};

TEST_F(CheckLoginTest, PassesAtOnceWhenNotAsked) {
    struct Case {
        bool mainWindowShown;
        int isCheckLogin;
    };
    for (const Case c : {Case{false, 0}, Case{true, 1}, Case{false, 1}}) {
        s_control->mainWindowShown = c.mainWindowShown;
        s_station->setUserOption("isCheckLogin", c.isCheckLogin);
        bool shown = false;
        ModalDriver driver;
        driver.onDialog([&](QDialog* d) {
            shown = true;
            d->reject();
        });
        EXPECT_EQ(CheckLoginDialog::getInstance()->checkLogin(), 1);
        EXPECT_FALSE(shown);
    }
}

TEST_F(CheckLoginTest, TheSwitchIsReadFromTheFile) {
    // The option in memory says "off", the file says "on": the file holds.
    s_control->userOpt.isCheckLogin = 1;
    bool shown = false;
    ModalDriver driver;
    driver.onDialog([&](QDialog* d) {
        shown = true;
        click(d, "pushButton_Cancel");
    });
    EXPECT_EQ(CheckLoginDialog::getInstance()->checkLogin(), 0);
    EXPECT_TRUE(shown);
}

TEST_F(CheckLoginTest, OnlyTheLoggedInUsersPasswordPasses) {
    CheckLoginDialog* gate = CheckLoginDialog::getInstance();
    ModalDriver driver;
    QString shownName;
    driver
        .onDialog([&](QDialog* d) {
            shownName = d->findChild<QLineEdit*>("lineEdit_UserName")->text();
            EXPECT_FALSE(d->findChild<QLineEdit*>("lineEdit_UserName")->isEnabled());
            click(d, "pushButton_Submit");
        })
        .answerMessageBox()
        .onDialog([](QDialog* d) {
            type(d, "secret1");
            click(d, "pushButton_Submit");
        })
        .answerMessageBox()
        .onDialog([](QDialog* d) {
            type(d, "pa'ss \"word\"");  // bob's password
            click(d, "pushButton_Submit");
        })
        .answerMessageBox()
        .onDialog([](QDialog* d) {
            EXPECT_EQ(d->findChild<QLineEdit*>("lineEdit_Password")->text(), "pa'ss \"word\"");
            type(d, "Secret1");
            click(d, "pushButton_Submit");
        });
    EXPECT_EQ(gate->checkLogin(), 1);
    EXPECT_EQ(shownName, "alice");
    EXPECT_EQ(driver.messages(), (QStringList{"Tips|Please enter password !",
                                              "Tips|Password error !", "Tips|Password error !"}));
    EXPECT_EQ(driver.pendingSteps(), 0);
}

TEST_F(CheckLoginTest, CancelGivesZeroAndTheNextCheckStartsEmpty) {
    CheckLoginDialog* gate = CheckLoginDialog::getInstance();
    {
        ModalDriver driver;
        driver
            .onDialog([](QDialog* d) {
                type(d, "wrong");
                click(d, "pushButton_Submit");
            })
            .answerMessageBox()
            .onDialog([](QDialog* d) { click(d, "pushButton_Cancel"); });
        EXPECT_EQ(gate->checkLogin(), 0);
    }
    ModalDriver driver;
    QString startText = "unset";
    driver.onDialog([&](QDialog* d) {
        startText = d->findChild<QLineEdit*>("lineEdit_Password")->text();
        d->reject();
    });
    EXPECT_EQ(gate->checkLogin(), 0);
    EXPECT_TRUE(startText.isEmpty());
}

TEST_F(CheckLoginTest, LanguageChangeRetranslatesTheDialog) {
    CheckLoginDialog* gate = CheckLoginDialog::getInstance();
    QLabel* title = gate->findChild<QLabel*>("label");
    QPushButton* submit = gate->findChild<QPushButton*>("pushButton_Submit");
    s_control->changeLanguage(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(title->text(), QStringLiteral("电子签名"));
    EXPECT_EQ(submit->text(), QStringLiteral("提交"));
    EXPECT_EQ(gate->windowTitle(), "Dialog");
    s_control->changeLanguage(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(title->text(), "Electronic Signature");
    EXPECT_EQ(submit->text(), "Submit");
}

}  // namespace
