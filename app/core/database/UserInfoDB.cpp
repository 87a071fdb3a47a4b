#include "database/UserInfoDB.h"

#include <QDebug>
#include <QSqlQuery>
#include <QVariant>

#include "database/PasswordHash.h"
#include "database/RecordText.h"
#include "database/StoreOpening.h"

namespace {

const QString kCreateTable = QStringLiteral(
    "CREATE TABLE Username_Passwd(uuid TEXT UNIQUE, userName TEXT UNIQUE,passwd TEXT, realName "
    "TEXT, authUserManage BOOL, authImgCap BOOL,authImgProcess BOOL, authRptManage BOOL, "
    "authRptExport BOOL, isRemember BOOL)");
const QString kInsert = QStringLiteral(
    "INSERT INTO Username_Passwd(uuid, userName, passwd, realName, authUserManage, authImgCap, "
    "authImgProcess, authRptManage, authRptExport, isRemember)VALUES(:uuid, :userName, :passwd, "
    ":realName, :authUserManage, :authImgCap, :authImgProcess, :authRptManage, :authRptExport, "
    ":isRemember)");
const QString kUpdate = QStringLiteral(
    "UPDATE Username_Passwd SET userName = :userName,passwd = :passwd, realName = "
    ":realName,authUserManage = :authUserManage, authImgCap = :authImgCap,authImgProcess = "
    ":authImgProcess, authRptManage = :authRptManage,authRptExport = :authRptExport, isRemember "
    "= :isRemember where uuid = :uuid");
const QString kUpdatePassword =
    QStringLiteral("UPDATE Username_Passwd SET passwd = :passwd where uuid = :uuid");
const QString kDelete = QStringLiteral("DELETE FROM Username_Passwd where uuid = :uuid");
const QString kSelectByUuid = QStringLiteral("SELECT * FROM Username_Passwd where uuid = :uuid");
const QString kSelectByName =
    QStringLiteral("SELECT * FROM Username_Passwd where userName = :userName");
const QString kSelectNames = QStringLiteral("SELECT userName FROM Username_Passwd");
const QString kSelectAll = QStringLiteral("SELECT * FROM Username_Passwd");

// Hashes of the remember-password tokens, one per account at most.
const QString kCreateTokenTable =
    QStringLiteral("CREATE TABLE IF NOT EXISTS RememberToken(uuid TEXT UNIQUE, tokenHash TEXT)");
const QString kStoreToken = QStringLiteral(
    "INSERT OR REPLACE INTO RememberToken(uuid, tokenHash) VALUES(:uuid, :tokenHash)");
const QString kSelectToken =
    QStringLiteral("SELECT tokenHash FROM RememberToken where uuid = :uuid");
const QString kDeleteToken = QStringLiteral("DELETE FROM RememberToken where uuid = :uuid");

const QString kAdministrator = QStringLiteral("tarsk");

UserInfo readUser(const QSqlQuery& query) {
    UserInfo user;
    user.uuid = uuidFromColumn(query.value(QStringLiteral("uuid")));
    user.userName = query.value(QStringLiteral("userName")).toString();
    user.passwd = query.value(QStringLiteral("passwd")).toString();
    user.realName = query.value(QStringLiteral("realName")).toString();
    user.authUserManage = query.value(QStringLiteral("authUserManage")).toBool();
    user.authImgCap = query.value(QStringLiteral("authImgCap")).toBool();
    user.authImgProcess = query.value(QStringLiteral("authImgProcess")).toBool();
    user.authRptManage = query.value(QStringLiteral("authRptManage")).toBool();
    user.authRptExport = query.value(QStringLiteral("authRptExport")).toBool();
    user.isRemember = query.value(QStringLiteral("isRemember")).toBool();
    return user;
}

// The password column of a record: stored hashes stay, anything else is a
// password typed by the user and is hashed here.
QString storedPassword(const QString& passwd) {
    return PasswordHash::isEncoded(passwd) ? passwd : PasswordHash::encode(passwd);
}

void bindUser(QSqlQuery& query, const UserInfo& user) {
    query.bindValue(QStringLiteral(":uuid"), uuidText(user.uuid));
    query.bindValue(QStringLiteral(":userName"), user.userName);
    query.bindValue(QStringLiteral(":passwd"), storedPassword(user.passwd));
    query.bindValue(QStringLiteral(":realName"), user.realName);
    query.bindValue(QStringLiteral(":authUserManage"), user.authUserManage);
    query.bindValue(QStringLiteral(":authImgCap"), user.authImgCap);
    query.bindValue(QStringLiteral(":authImgProcess"), user.authImgProcess);
    query.bindValue(QStringLiteral(":authRptManage"), user.authRptManage);
    query.bindValue(QStringLiteral(":authRptExport"), user.authRptExport);
    query.bindValue(QStringLiteral(":isRemember"), user.isRemember);
}

}  // namespace

UserInfoDB::UserInfoDB(const QString& stationDir, QObject* parent) : QObject(parent) {
    connectDatabase(stationDir);
}

UserInfoDB::~UserInfoDB() = default;

QString UserInfoDB::connectionName() const {
    return m_connection->connectionName();
}

void UserInfoDB::connectDatabase(const QString& stationDir) {
    // secure_delete overwrites the bytes of replaced values, so a plain
    // password that is replaced by its hash does not linger in free pages.
    m_connection =
        openStore(stationDir, {QStringLiteral("connectDatabase UserInfo.db."),
                               QStringLiteral("UserInfo"), QStringLiteral("UserInfo.db"),
                               QStringList{QStringLiteral("PRAGMA secure_delete = ON")}});
    initTable();
}

void UserInfoDB::initTable() {
    QSqlDatabase db = m_connection->database();
    // The table is created whenever it is missing, also in a file that
    // exists but holds no table (an interrupted first start).
    if (createMissingTable(db, QStringLiteral("Username_Passwd"), kCreateTable,
                           QStringLiteral("Table create success."))) {
        insertUser(UserInfo(kAdministrator, kAdministrator, kAdministrator, true, true, true, true,
                            true, true));
    }
    QSqlQuery tokens(db);
    tokens.exec(kCreateTokenTable);
}

bool UserInfoDB::insertUser(const UserInfo& user) {
    QSqlQuery query(m_connection->database());
    query.prepare(kInsert);
    bindUser(query, user);
    return query.exec();
}

bool UserInfoDB::updateUser(const UserInfo& user) {
    QSqlQuery query(m_connection->database());
    query.prepare(kUpdate);
    bindUser(query, user);
    // A row that is no longer there (deleted meanwhile) is a failed update.
    if (!query.exec() || query.numRowsAffected() < 1) {
        return false;
    }
    // A new password or a cleared "remember" choice ends the remembered login.
    if (!PasswordHash::isEncoded(user.passwd) || !user.isRemember) {
        clearRememberToken(user.uuid);
    }
    return true;
}

bool UserInfoDB::deleteUser(const QUuid& uuid) {
    QSqlQuery query(m_connection->database());
    query.prepare(kDelete);
    query.bindValue(QStringLiteral(":uuid"), uuidText(uuid));
    if (!query.exec() || query.numRowsAffected() < 1) {
        return false;
    }
    clearRememberToken(uuid);
    return true;
}

std::unique_ptr<UserInfo> UserInfoDB::loadByUuid(const QUuid& uuid) {
    QSqlQuery query(m_connection->database());
    query.prepare(kSelectByUuid);
    query.bindValue(QStringLiteral(":uuid"), uuidText(uuid));
    if (!query.exec() || !query.next()) {
        return nullptr;
    }
    return std::make_unique<UserInfo>(readUser(query));
}

std::unique_ptr<UserInfo> UserInfoDB::loadByName(const QString& userName) {
    QSqlQuery query(m_connection->database());
    query.prepare(kSelectByName);
    query.bindValue(QStringLiteral(":userName"), userName);
    if (!query.exec() || !query.next()) {
        return nullptr;
    }
    return std::make_unique<UserInfo>(readUser(query));
}

QStringList UserInfoDB::loadUserNames() {
    QStringList names;
    QSqlQuery query(m_connection->database());
    if (query.exec(kSelectNames)) {
        while (query.next()) {
            names.append(query.value(QStringLiteral("userName")).toString());
        }
    }
    qDebug() << names;
    return names;
}

std::unique_ptr<QList<UserInfo>> UserInfoDB::loadAll() {
    QSqlQuery query(m_connection->database());
    if (!query.exec(kSelectAll)) {
        return nullptr;
    }
    std::unique_ptr<QList<UserInfo>> users;
    while (query.next()) {
        if (!users) {
            users = std::make_unique<QList<UserInfo>>();
        }
        users->append(readUser(query));
    }
    return users;
}

bool UserInfoDB::verifyPassword(UserInfo& user, const QString& password) {
    const std::unique_ptr<UserInfo> stored = loadByUuid(user.uuid);
    if (!stored || !PasswordHash::matches(stored->passwd, password)) {
        return false;
    }
    user.passwd = stored->passwd;
    if (PasswordHash::needsRehash(stored->passwd)) {
        const QString hash = PasswordHash::encode(password);
        if (storePasswordHash(user.uuid, hash)) {
            user.passwd = hash;
        }
    }
    return true;
}

bool UserInfoDB::storePasswordHash(const QUuid& uuid, const QString& hash) {
    QSqlQuery query(m_connection->database());
    query.prepare(kUpdatePassword);
    query.bindValue(QStringLiteral(":passwd"), hash);
    query.bindValue(QStringLiteral(":uuid"), uuidText(uuid));
    return query.exec() && query.numRowsAffected() == 1;
}

QString UserInfoDB::issueRememberToken(const QUuid& uuid) {
    const QString token = PasswordHash::randomSecret();
    QSqlQuery query(m_connection->database());
    query.prepare(kStoreToken);
    query.bindValue(QStringLiteral(":uuid"), uuidText(uuid));
    query.bindValue(QStringLiteral(":tokenHash"), PasswordHash::encode(token));
    return query.exec() ? token : QString();
}

bool UserInfoDB::checkRememberToken(const QUuid& uuid, const QString& token) {
    const std::unique_ptr<UserInfo> user = loadByUuid(uuid);
    if (!user || !user->isRemember || token.isEmpty()) {
        return false;
    }
    QSqlQuery query(m_connection->database());
    query.prepare(kSelectToken);
    query.bindValue(QStringLiteral(":uuid"), uuidText(uuid));
    if (!query.exec() || !query.next()) {
        return false;
    }
    const QString hash = query.value(0).toString();
    // Only hashed tokens count: a plain text in this column is not a token.
    return PasswordHash::isEncoded(hash) && PasswordHash::matches(hash, token);
}

bool UserInfoDB::clearRememberToken(const QUuid& uuid) {
    QSqlQuery query(m_connection->database());
    query.prepare(kDeleteToken);
    query.bindValue(QStringLiteral(":uuid"), uuidText(uuid));
    return query.exec();
}
