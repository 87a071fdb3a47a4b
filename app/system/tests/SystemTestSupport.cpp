#include "SystemTestSupport.h"

#include "base/NavigationTypes.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "database/UserInfoDB.h"

#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMutex>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

QMutex g_mutex;
QStringList g_lines;

void collect(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        fprintf(stderr, "%s\n", qPrintable(message));
        abort();
    }
    QMutexLocker lock(&g_mutex);
    g_lines << message;
}

}  // namespace

LogLines::LogLines() {
    QMutexLocker lock(&g_mutex);
    g_lines.clear();
    m_previous = qInstallMessageHandler(collect);
}

LogLines::~LogLines() {
    qInstallMessageHandler(m_previous);
}

QStringList LogLines::lines() const {
    QMutexLocker lock(&g_mutex);
    return g_lines;
}

TestStation* SystemPageTest::s_station = nullptr;
CI_MainControl* SystemPageTest::s_control = nullptr;

void SystemPageTest::SetUpTestSuite() {
    if (s_station != nullptr) {
        return;
    }
    s_station = new TestStation(QStringLiteral("system"));
    s_station->writeMachineIni(QStringLiteral("320"));
    s_station->setUserOption(QStringLiteral("LanguageID"), 1);
    s_control = CI_MainControl::getInstance();
    s_control->machineName = 0;
}

void SystemPageTest::SetUp() {
    s_station->setUserOption(QStringLiteral("LanguageID"), 1);
    s_station->setUserOption(QStringLiteral("isCheckLogin"), 0);
    s_control->expType = 0;
    s_control->mainWindowShown = true;
    logInAs(QStringLiteral("tarsk"));
    m_auditBefore = lastAuditId();
}

void SystemPageTest::logInAs(const QString& userName) {
    std::unique_ptr<UserInfo> user = s_control->userInfoDB->loadByName(userName);
    ASSERT_TRUE(user) << userName.toStdString();
    *s_control->currentUser = *user;
}

void SystemPageTest::addAccount(const QString& userName, bool userManage, bool capture,
                                bool process, bool reportManage, bool reportExport) {
    UserInfo user(userName, QStringLiteral("pw"), userName + QStringLiteral("Real"), userManage,
                  capture, process, reportManage, reportExport, false);
    ASSERT_TRUE(s_control->userInfoDB->insertUser(user)) << userName.toStdString();
}

QStringList SystemPageTest::newAuditRows() const {
    return auditRowsAfter(m_auditBefore);
}

int SystemPageTest::lastAuditId() {
    const QStringList ids = auditQuery(QStringLiteral("SELECT MAX(id) FROM AuditTrail"));
    return ids.value(0).toInt();
}

QStringList SystemPageTest::auditRowsAfter(int id) {
    return auditQuery(
        QStringLiteral("SELECT languageId || '|' || model || '|' || handler || '|' || "
                       "content FROM AuditTrail WHERE id > %1 ORDER BY id")
            .arg(id));
}

QStringList SystemPageTest::auditQuery(const QString& statement) {
    QStringList rows;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("audit-reader"));
        db.setDatabaseName(s_station->filePath(QStringLiteral("DataBase/AuditTrail.db")));
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(statement)) {
                while (query.next()) {
                    rows << query.value(0).toString();
                }
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("audit-reader"));
    return rows;
}

void SystemPageTest::passRecheck(ModalDriver& driver, const QString& password) {
    driver.onDialog([password](QDialog* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("lineEdit_Password"))->setText(password);
        dialog->findChild<QPushButton*>(QStringLiteral("pushButton_Submit"))->click();
    });
}

void SystemPageTest::refuseRecheck(ModalDriver& driver) {
    driver.onDialog([](QDialog* dialog) {
        dialog->findChild<QPushButton*>(QStringLiteral("pushButton_Cancel"))->click();
    });
}
