// User management and the user dialog: the administrator's protection, the
// rights and their icons, validators, inline warnings, duplicate names and
// the held record of the logged-in user.

#include "SystemTestSupport.h"
#include "UserDialog.h"
#include "UserManageFrame.h"
#include "controller/CI_MainControl.h"
#include "database/PasswordHash.h"
#include "database/UserInfo.h"
#include "database/UserInfoDB.h"

#include <QCheckBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>

#include "QtPrinters.h"

#include <memory>

namespace {

class UserManageTest : public SystemPageTest {
  protected:
    static void SetUpTestSuite() {
        SystemPageTest::SetUpTestSuite();
        if (s_accountsAdded) {
            return;
        }
        s_accountsAdded = true;
        addAccount("manager", true, true);
        addAccount("plain", false, true, true);
        addAccount("Tarsk", true);
        addAccount("victim");
    }

    void openPage() {
        m_page = std::make_unique<UserManageFrame>(nullptr);
        m_page->show();
        m_table = m_page->findChild<QTableWidget*>("tableWidget_User");
    }
    QPushButton* button(const char* name) {
        return m_page->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    int rowOf(const QString& userName) {
        for (int row = 0; row < m_table->rowCount(); ++row) {
            if (m_table->item(row, 0)->text() == userName)
                return row;
        }
        return -1;
    }
    void select(const QString& userName) {
        const int row = rowOf(userName);
        ASSERT_GE(row, 0) << userName.toStdString();
        m_table->setCurrentCell(row, 0);
    }

    static bool s_accountsAdded;
    std::unique_ptr<UserManageFrame> m_page;
    QTableWidget* m_table = nullptr;
};

bool UserManageTest::s_accountsAdded = false;

QImage iconImage(const QIcon& icon) {
    return icon.pixmap(16, 16).toImage();
}

TEST_F(UserManageTest, TableShowsRightsAsIconsAndTheOwnRowInGreenBold) {
    logInAs("manager");
    openPage();
    ASSERT_GE(rowOf("manager"), 0);
    const QImage filled = iconImage(QIcon(":/Image/filledCircle.png"));
    const QImage white = iconImage(QIcon(":/Image/whiteCircle.png"));
    ASSERT_FALSE(filled.isNull());
    const int row = rowOf("manager");
    const bool expected[] = {true, true, false, false, false};
    for (int column = 2; column <= 6; ++column) {
        EXPECT_EQ(iconImage(m_table->item(row, column)->icon()),
                  expected[column - 2] ? filled : white)
            << column;
        EXPECT_TRUE(m_table->item(row, column)->text().isEmpty());
    }
    EXPECT_TRUE(m_table->isColumnHidden(7));
    EXPECT_EQ(QUuid(m_table->item(row, 7)->text()),
              s_control->userInfoDB->loadByName("manager")->uuid);
    for (int r = 0; r < m_table->rowCount(); ++r) {
        const bool own = r == row;
        for (int column : {0, 1}) {
            EXPECT_EQ(m_table->item(r, column)->foreground().color(),
                      QColor(own ? "Green" : "Black"));
            EXPECT_EQ(m_table->item(r, column)->font().bold(), own);
        }
    }
}

// Who may do what to whom: the administrator is never deleted and only
// edited by itself; "Tarsk" is an ordinary account.
TEST_F(UserManageTest, RightsTable) {
    struct Case {
        const char* loggedIn;
        const char* password;
        const char* target;
        const char* action;   // "Delete" or "Edit"
        const char* outcome;  // message box text, "dialog", or "deleted"
    };
    const Case cases[] = {
        {"tarsk", "tarsk", "tarsk", "Delete", "Tips|Administrator user cannot delete."},
        {"tarsk", "tarsk", "tarsk", "Edit", "dialog"},
        {"manager", "pw", "tarsk", "Delete", "Tips|Administrator user cannot delete."},
        {"manager", "pw", "tarsk", "Edit", "Tips|Administrator user cannot edit."},
        {"manager", "pw", "Tarsk", "Edit", "dialog"},
        {"manager", "pw", "Tarsk", "Delete", "deleted"},
        {"victim", "pw", "victim", "Delete", "deleted"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.loggedIn) + " " + c.action + " " + c.target);
        logInAs(c.loggedIn);
        if (std::string(c.loggedIn) == "victim") {
            s_control->currentUser->authUserManage = true;  // held record may act
        }
        openPage();
        select(c.target);
        const int before = lastAuditId();
        ModalDriver driver;
        if (std::string(c.action) == "Delete") {
            passRecheck(driver, c.password);
        }
        bool dialogSeen = false;
        if (std::string(c.outcome) == "dialog") {
            driver.onDialog([&](QDialog* dialog) {
                dialogSeen = qobject_cast<UserDialog*>(dialog) != nullptr;
                dialog->reject();
            });
        } else if (std::string(c.outcome) != "deleted") {
            driver.answerMessageBox(QMessageBox::Ok);
        }
        LogLines log;
        button(std::string(c.action) == "Delete" ? "pushButton_Delete" : "pushButton_Edit")
            ->click();
        EXPECT_EQ(driver.pendingSteps(), 0);
        const QString outcome = c.outcome;
        if (outcome == "dialog") {
            EXPECT_TRUE(dialogSeen);
            EXPECT_TRUE(auditRowsAfter(before).isEmpty());
        } else if (outcome == "deleted") {
            EXPECT_FALSE(s_control->userInfoDB->loadByName(c.target));
            EXPECT_EQ(rowOf(c.target), -1);
            EXPECT_TRUE(log.contains(QString("user %1 success.").arg(c.target)));
            EXPECT_EQ(auditRowsAfter(before),
                      (QStringList{
                          QString("0|系统|%1|删除用户: %2").arg(c.loggedIn, c.target),
                          QString("1|SystemPage|%1|Delete user: %2").arg(c.loggedIn, c.target)}));
        } else {
            EXPECT_EQ(driver.messages(), QStringList{outcome});
            EXPECT_TRUE(s_control->userInfoDB->loadByName(c.target));
            EXPECT_TRUE(auditRowsAfter(before).isEmpty());
        }
    }
}

TEST_F(UserManageTest, WithoutTheRightTheButtonsStayDisabled) {
    logInAs("plain");
    openPage();
    EXPECT_GT(m_table->rowCount(), 0);
    for (const char* name : {"pushButton_Add", "pushButton_Edit", "pushButton_Delete"}) {
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    }
}

TEST_F(UserManageTest, ValidatorsOfNamesAndFullNames) {
    UserDialog dialog;
    const std::pair<const char*, bool> cases[] = {
        {"a", true},
        {"Ab9", true},
        {"1a", false},
        {"ab c", false},
        {"a-b", false},
        {"\xc3\xa9", false},
        {"a.", false},
        {"aaaaaaaaaaaaaaaaaaaaa", true},    // 21 characters
        {"aaaaaaaaaaaaaaaaaaaaaa", false},  // 22 characters
    };
    for (const char* field : {"lineEdit_UserName", "lineEdit_RealName"}) {
        const QValidator* validator = dialog.findChild<QLineEdit*>(field)->validator();
        ASSERT_NE(validator, nullptr) << field;
        for (const auto& [text, accepted] : cases) {
            QString input = QString::fromUtf8(text);
            int pos = input.size();
            EXPECT_EQ(validator->validate(input, pos) != QValidator::Invalid, accepted)
                << field << " " << text;
        }
    }
    EXPECT_EQ(dialog.findChild<QLineEdit*>("lineEdit_Password")->validator(), nullptr);
    EXPECT_EQ(dialog.findChild<QLineEdit*>("lineEdit_Password")->echoMode(), QLineEdit::Password);
}

// The dialog's fields, for one run of exec() driven by the test.
struct UserForm {
    explicit UserForm(QDialog* d)
        : name(d->findChild<QLineEdit*>("lineEdit_UserName")),
          password(d->findChild<QLineEdit*>("lineEdit_Password")),
          realName(d->findChild<QLineEdit*>("lineEdit_RealName")),
          warnName(d->findChild<QLabel*>("label_WarnUn")),
          warnPassword(d->findChild<QLabel*>("label_WarnPw")),
          warnRealName(d->findChild<QLabel*>("label_WarnRn")),
          userManage(d->findChild<QCheckBox*>("checkBox_UserManage")),
          ok(d->findChild<QPushButton*>("pushButton_OK")) {}
    QLineEdit* name;
    QLineEdit* password;
    QLineEdit* realName;
    QLabel* warnName;
    QLabel* warnPassword;
    QLabel* warnRealName;
    QCheckBox* userManage;
    QPushButton* ok;
};

TEST_F(UserManageTest, EmptyFieldsShowAllThreeWarningsAtOnce) {
    UserDialog dialog;
    dialog.setCallType(UserDialog::Add);
    dialog.show();
    UserForm form(&dialog);
    ModalDriver driver;
    passRecheck(driver, "tarsk");
    const int before = lastAuditId();
    form.ok->click();
    EXPECT_EQ(form.warnName->text(), "Username Empty !");
    EXPECT_EQ(form.warnPassword->text(), "Password Empty !");
    EXPECT_EQ(form.warnRealName->text(), "Realname Empty !");
    for (QLabel* label : {form.warnName, form.warnPassword, form.warnRealName}) {
        EXPECT_EQ(label->styleSheet(), "color:red; font-size:12px;");
    }
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(auditRowsAfter(before).isEmpty());
}

TEST_F(UserManageTest, DuplicateNamesAreExactAndATakenNameFailsToSave) {
    addAccount("dupe");
    UserDialog dialog;
    dialog.setCallType(UserDialog::Add);
    dialog.show();
    UserForm form(&dialog);
    const std::pair<const char*, const char*> names[] = {
        {"dupe", "Username Exists !"}, {"Dupe", ""}, {"DUPE", ""}, {"dupe2", ""}};
    for (const auto& [typed, warning] : names) {
        form.name->setText(typed);
        emit form.name->editingFinished();
        EXPECT_EQ(form.warnName->text(), warning) << typed;
    }
    form.name->setText("dupe");
    form.password->setText("x");
    form.realName->setText("Dupe");
    ModalDriver driver;
    passRecheck(driver, "tarsk");
    const int before = lastAuditId();
    LogLines log;
    form.ok->click();
    EXPECT_TRUE(log.contains("user dupe save failed."));
    EXPECT_EQ(form.warnName->text(), "Username Exists !");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(auditRowsAfter(before).isEmpty());
}

TEST_F(UserManageTest, AddedAccountIsStoredHashedAndAudited) {
    logInAs("manager");
    openPage();
    ModalDriver driver;
    driver.onDialog([](QDialog* d) {
        UserForm form(d);
        form.name->setText("newbie");
        form.password->setText("Plain-Secret-77");
        form.realName->setText("Newbie");
        d->findChild<QCheckBox*>("checkBox_ImgCapture")->setChecked(true);
        d->findChild<QCheckBox*>("checkBox_ReportExport")->setChecked(true);
        form.ok->click();
    });
    passRecheck(driver, "pw");
    const int before = lastAuditId();
    button("pushButton_Add")->click();
    EXPECT_EQ(driver.pendingSteps(), 0);
    auto stored = s_control->userInfoDB->loadByName("newbie");
    ASSERT_TRUE(stored);
    EXPECT_TRUE(PasswordHash::isEncoded(stored->passwd));
    EXPECT_TRUE(PasswordHash::matches(stored->passwd, "Plain-Secret-77"));
    EXPECT_TRUE(stored->authImgCap && stored->authRptExport);
    EXPECT_FALSE(stored->authUserManage || stored->authImgProcess || stored->authRptManage);
    EXPECT_FALSE(stored->isRemember);
    EXPECT_GE(rowOf("newbie"), 0);
    EXPECT_EQ(auditRowsAfter(before), (QStringList{"0|系统|manager|新增用户: newbie",
                                                   "1|SystemPage|manager|Add user: newbie"}));
}

TEST_F(UserManageTest, EditShowsNoPasswordAndAnEmptyFieldKeepsIt) {
    addAccount("keeper", false, true);
    const QString storedHash = s_control->userInfoDB->loadByName("keeper")->passwd;
    openPage();
    select("keeper");
    ModalDriver driver;
    QString shownPassword = "not looked at";
    driver.onDialog([&](QDialog* d) {
        UserForm form(d);
        shownPassword = form.password->text();
        form.realName->setText("Keeper2");
        form.ok->click();
    });
    passRecheck(driver, "tarsk");
    button("pushButton_Edit")->click();
    EXPECT_EQ(driver.pendingSteps(), 0);
    EXPECT_EQ(shownPassword, "");
    auto stored = s_control->userInfoDB->loadByName("keeper");
    EXPECT_EQ(stored->realName, "Keeper2");
    EXPECT_EQ(stored->passwd, storedHash);
}

TEST_F(UserManageTest, AdministratorEditsOnlyItsPassword) {
    openPage();
    select("tarsk");
    ModalDriver driver;
    QStringList enabled;
    driver.onDialog([&](QDialog* d) {
        for (QWidget* w : d->findChildren<QWidget*>()) {
            if ((qobject_cast<QLineEdit*>(w) || qobject_cast<QCheckBox*>(w) ||
                 qobject_cast<QPushButton*>(w)) &&
                w->isEnabled())
                enabled << w->objectName();
        }
        d->reject();
    });
    button("pushButton_Edit")->click();
    enabled.sort();
    EXPECT_EQ(enabled, (QStringList{"lineEdit_Password", "pushButton_Cancel", "pushButton_OK"}));
}

TEST_F(UserManageTest, AnOwnEditDroppingUserManageDisablesThePageAtOnce) {
    addAccount("selfedit", true, true);
    logInAs("selfedit");
    openPage();
    select("selfedit");
    ModalDriver driver;
    driver.onDialog([](QDialog* d) {
        UserForm form(d);
        form.userManage->setChecked(false);
        form.ok->click();
    });
    passRecheck(driver, "pw");
    const int before = lastAuditId();
    LogLines log;
    button("pushButton_Edit")->click();
    EXPECT_EQ(driver.pendingSteps(), 0);
    EXPECT_FALSE(s_control->currentUser->authUserManage);
    EXPECT_TRUE(s_control->currentUser->authImgCap);
    EXPECT_TRUE(PasswordHash::isEncoded(s_control->currentUser->passwd));
    for (const char* name : {"pushButton_Add", "pushButton_Edit", "pushButton_Delete"}) {
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(log.contains("user selfedit modify success."));
    EXPECT_TRUE(log.contains("userInfo.userName:selfedit"));
    EXPECT_EQ(auditRowsAfter(before), (QStringList{"0|系统|selfedit|修改用户: selfedit",
                                                   "1|SystemPage|selfedit|Edit user: selfedit"}));
}

TEST_F(UserManageTest, AnEditOfAnAccountDeletedMeanwhileFails) {
    addAccount("ghost");
    openPage();
    select("ghost");
    ModalDriver driver;
    bool stillOpen = false;
    driver.onDialog([&](QDialog* d) {
        ASSERT_TRUE(
            s_control->userInfoDB->deleteUser(s_control->userInfoDB->loadByName("ghost")->uuid));
        UserForm(d).ok->click();
        stillOpen = d->isVisible();
        d->reject();
    });
    passRecheck(driver, "tarsk");
    const int before = lastAuditId();
    LogLines log;
    button("pushButton_Edit")->click();
    EXPECT_EQ(driver.pendingSteps(), 0);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(log.contains("user ghost modify failed."));
    EXPECT_TRUE(auditRowsAfter(before).isEmpty());
    EXPECT_FALSE(s_control->userInfoDB->loadByName("ghost"));
}

TEST_F(UserManageTest, ARefusedRecheckStoresNothing) {
    UserDialog dialog;
    dialog.setCallType(UserDialog::Add);
    dialog.show();
    UserForm form(&dialog);
    form.name->setText("refused");
    form.password->setText("x");
    form.realName->setText("Refused");
    ModalDriver driver;
    refuseRecheck(driver);
    form.ok->click();
    EXPECT_FALSE(s_control->userInfoDB->loadByName("refused"));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(UserManageTest, AllThenNoAuthorityLeavesEveryRightUnchecked) {
    UserDialog dialog;
    dialog.show();
    dialog.findChild<QPushButton*>("pushButton_AllAuthority")->click();
    EXPECT_EQ(dialog.findChildren<QCheckBox*>().size(), 5);
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
        EXPECT_TRUE(box->isChecked());
    dialog.findChild<QPushButton*>("pushButton_NoAuthority")->click();
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
        EXPECT_FALSE(box->isChecked());
}

}  // namespace
