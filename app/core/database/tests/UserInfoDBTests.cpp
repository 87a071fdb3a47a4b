#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <memory>

#include "TestSupport.h"
#include "database/PasswordHash.h"
#include "database/UserInfoDB.h"

namespace {

class UserInfoDBTest : public ::testing::Test {
  protected:
    void SetUp() override { station = freshStationDir(); }

    QString file() const { return station + QStringLiteral("/DataBase/UserInfo.db"); }

    std::unique_ptr<UserInfoDB> open() { return std::make_unique<UserInfoDB>(station); }

    static UserInfo user(const QString& name, const QString& password) {
        return UserInfo(name, password, name + QStringLiteral("Real"), false, true, false, true,
                        false, false);
    }

    // The password column as the file holds it.
    QString storedPassword(const QString& userName) const {
        const auto rows = rawRows(
            file(), QStringLiteral("SELECT passwd FROM Username_Passwd WHERE userName = '%1'")
                        .arg(userName));
        return rows.isEmpty() ? QString() : rows.first().first();
    }

    QString station;
};

TEST_F(UserInfoDBTest, FreshStationGetsTheFolderTheTableAndOneHashedAdministrator) {
    LogCapture log;
    auto db = open();
    EXPECT_TRUE(QFile::exists(file()));
    EXPECT_EQ(log.lines(),
              (QStringList{"[Debug] connectDatabase UserInfo.db.",
                           "[Debug] UserInfo.db open success.", "[Debug] Table create success."}));
    EXPECT_EQ(db->connectionName(), QStringLiteral("UserInfo"));

    auto all = db->loadAll();
    ASSERT_TRUE(all);
    ASSERT_EQ(all->size(), 1);
    const UserInfo admin = all->first();
    EXPECT_EQ(admin.userName, QStringLiteral("tarsk"));
    EXPECT_EQ(admin.realName, QStringLiteral("tarsk"));
    EXPECT_TRUE(admin.authUserManage && admin.authImgCap && admin.authImgProcess &&
                admin.authRptManage && admin.authRptExport && admin.isRemember);
    EXPECT_FALSE(admin.uuid.isNull());
    EXPECT_TRUE(PasswordHash::isEncoded(admin.passwd));
    EXPECT_TRUE(PasswordHash::isEncoded(storedPassword(QStringLiteral("tarsk"))));

    UserInfo login = admin;
    EXPECT_TRUE(db->verifyPassword(login, QStringLiteral("tarsk")));
    EXPECT_FALSE(db->verifyPassword(login, QStringLiteral("Tarsk")));
}

TEST_F(UserInfoDBTest, SecondStartCreatesNothing) {
    open();
    LogCapture log;
    auto db = open();
    EXPECT_FALSE(log.contains(QStringLiteral("[Debug] Table create success.")));
    EXPECT_EQ(db->loadUserNames(), QStringList{QStringLiteral("tarsk")});
}

TEST_F(UserInfoDBTest, ExistingFileWithoutTheTableGetsTableAndAdministrator) {
    QDir().mkpath(station + QStringLiteral("/DataBase"));
    QFile empty(file());
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    auto db = open();
    EXPECT_EQ(db->loadUserNames(), QStringList{QStringLiteral("tarsk")});
}

TEST_F(UserInfoDBTest, NoPlainPasswordAnywhereInTheFile) {
    auto db = open();
    const QStringList passwords{QStringLiteral("Plain-Secret-4711"),
                                QStringLiteral("zweites Geheimnis ÄÖÜ"),
                                QStringLiteral("third'one\"")};
    for (int i = 0; i < passwords.size(); ++i) {
        ASSERT_TRUE(db->insertUser(user(QStringLiteral("user%1").arg(i), passwords[i])));
    }
    UserInfo changed = *db->loadByName(QStringLiteral("user0"));
    changed.passwd = QStringLiteral("Changed-Secret-0815");
    ASSERT_TRUE(db->updateUser(changed));
    db.reset();

    const QByteArray bytes = fileBytes(file());
    ASSERT_FALSE(bytes.isEmpty());
    for (const QString& password : passwords + QStringList{QStringLiteral("Changed-Secret-0815")}) {
        EXPECT_FALSE(bytes.contains(password.toUtf8())) << password.toStdString();
    }
    for (const QString& name : {QStringLiteral("tarsk"), QStringLiteral("user0"),
                                QStringLiteral("user1"), QStringLiteral("user2")}) {
        EXPECT_TRUE(PasswordHash::isEncoded(storedPassword(name))) << name.toStdString();
    }
}

TEST_F(UserInfoDBTest, PasswordsOfAnyCharactersVerifyExactly) {
    auto db = open();
    const QStringList passwords{QStringLiteral("a'b\"c;--"),
                                QStringLiteral("密码 mit Leerzeichen "), QStringLiteral("x"),
                                QStringLiteral("$pbkdf2$")};
    for (int i = 0; i < passwords.size(); ++i) {
        UserInfo account = user(QStringLiteral("p%1").arg(i), passwords[i]);
        ASSERT_TRUE(db->insertUser(account));
        EXPECT_TRUE(db->verifyPassword(account, passwords[i])) << i;
        EXPECT_FALSE(db->verifyPassword(account, passwords[i].toUpper() + QLatin1Char('!'))) << i;
        EXPECT_FALSE(db->verifyPassword(account, passwords[i].trimmed() + QStringLiteral("  ")))
            << i;
    }
}

TEST_F(UserInfoDBTest, PlainPasswordOfAnEarlierVersionIsAcceptedOnceAndReplaced) {
    // A database written by an earlier version: the password in plain text.
    QDir().mkpath(station + QStringLiteral("/DataBase"));
    ASSERT_TRUE(rawExec(
        file(), QStringLiteral("CREATE TABLE Username_Passwd(uuid TEXT UNIQUE, userName TEXT "
                               "UNIQUE,passwd TEXT, realName TEXT, authUserManage BOOL, "
                               "authImgCap BOOL,authImgProcess BOOL, authRptManage BOOL, "
                               "authRptExport BOOL, isRemember BOOL)")));
    ASSERT_TRUE(rawExec(file(), QStringLiteral("INSERT INTO Username_Passwd VALUES("
                                               "'{6f1c8f4e-9a55-4d2b-8b0e-3d3f0c1a2b3c}', 'old', "
                                               "'Old-Plain-Pw', 'Old', 1, 1, 0, 0, 0, 0)")));
    auto db = open();
    std::unique_ptr<UserInfo> old = db->loadByName(QStringLiteral("old"));
    ASSERT_TRUE(old);
    EXPECT_EQ(old->uuid, QUuid(QStringLiteral("{6f1c8f4e-9a55-4d2b-8b0e-3d3f0c1a2b3c}")));

    EXPECT_FALSE(db->verifyPassword(*old, QStringLiteral("old-plain-pw")));
    EXPECT_EQ(storedPassword(QStringLiteral("old")), QStringLiteral("Old-Plain-Pw"));

    EXPECT_TRUE(db->verifyPassword(*old, QStringLiteral("Old-Plain-Pw")));
    const QString upgraded = storedPassword(QStringLiteral("old"));
    EXPECT_TRUE(PasswordHash::isEncoded(upgraded));
    EXPECT_EQ(old->passwd, upgraded);
    EXPECT_FALSE(fileBytes(file()).contains("Old-Plain-Pw"));

    // From now on the hash answers, and it is not written again.
    EXPECT_TRUE(db->verifyPassword(*old, QStringLiteral("Old-Plain-Pw")));
    EXPECT_EQ(storedPassword(QStringLiteral("old")), upgraded);
    EXPECT_FALSE(db->verifyPassword(*old, QStringLiteral("Old-Plain-Pw ")));
}

TEST_F(UserInfoDBTest, WeakerHashIsReplacedAfterAMatch) {
    auto db = open();
    // "passwd" hashed with one iteration (RFC 7914 vector).
    const QString weak = QStringLiteral("pbkdf2-sha256$1$c2FsdA==$%1")
                             .arg(QString::fromLatin1(
                                 QByteArray::fromHex("55ac046e56e3089fec1691c22544b605f94185216d"
                                                     "de0465e68b9d57c20dacbc")
                                     .toBase64()));
    UserInfo account = user(QStringLiteral("weak"), weak);
    ASSERT_TRUE(db->insertUser(account));
    EXPECT_EQ(storedPassword(QStringLiteral("weak")), weak);
    EXPECT_TRUE(db->verifyPassword(account, QStringLiteral("passwd")));
    const QString stored = storedPassword(QStringLiteral("weak"));
    EXPECT_NE(stored, weak);
    EXPECT_FALSE(PasswordHash::needsRehash(stored));
}

TEST_F(UserInfoDBTest, VerifyRefusesAnAccountThatIsGone) {
    auto db = open();
    UserInfo account = user(QStringLiteral("gone"), QStringLiteral("pw"));
    ASSERT_TRUE(db->insertUser(account));
    ASSERT_TRUE(db->deleteUser(account.uuid));
    EXPECT_FALSE(db->verifyPassword(account, QStringLiteral("pw")));
    EXPECT_FALSE(db->loadByUuid(account.uuid));
}

TEST_F(UserInfoDBTest, InsertRefusesATakenNameOrUuid) {
    auto db = open();
    UserInfo first = user(QStringLiteral("anna"), QStringLiteral("a"));
    ASSERT_TRUE(db->insertUser(first));
    EXPECT_FALSE(db->insertUser(user(QStringLiteral("anna"), QStringLiteral("b"))));
    UserInfo sameUuid = user(QStringLiteral("berta"), QStringLiteral("b"));
    sameUuid.uuid = first.uuid;
    EXPECT_FALSE(db->insertUser(sameUuid));
    QStringList names = db->loadUserNames();
    names.sort();
    EXPECT_EQ(names, (QStringList{"anna", "tarsk"}));
}

TEST_F(UserInfoDBTest, LoadsByUuidAndByExactName) {
    auto db = open();
    UserInfo anna(QStringLiteral("anna"), QStringLiteral("pw"), QStringLiteral("Anna A"), true,
                  false, true, false, true, false);
    ASSERT_TRUE(db->insertUser(anna));

    for (const auto& loaded : {db->loadByUuid(anna.uuid), db->loadByName(QStringLiteral("anna"))}) {
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->uuid, anna.uuid);
        EXPECT_EQ(loaded->userName, QStringLiteral("anna"));
        EXPECT_EQ(loaded->realName, QStringLiteral("Anna A"));
        EXPECT_TRUE(loaded->authUserManage);
        EXPECT_FALSE(loaded->authImgCap);
        EXPECT_TRUE(loaded->authImgProcess);
        EXPECT_FALSE(loaded->authRptManage);
        EXPECT_TRUE(loaded->authRptExport);
        EXPECT_FALSE(loaded->isRemember);
    }
    EXPECT_FALSE(db->loadByName(QStringLiteral("Anna")));
    EXPECT_FALSE(db->loadByName(QStringLiteral("nobody")));
    EXPECT_FALSE(db->loadByUuid(QUuid::createUuid()));

    // The uuid is stored in its braced text form.
    const auto rows =
        rawRows(file(), QStringLiteral("SELECT uuid FROM Username_Passwd WHERE userName = 'anna'"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first().first(), anna.uuid.toString());
    EXPECT_TRUE(rows.first().first().startsWith(QLatin1Char('{')));
}

TEST_F(UserInfoDBTest, UpdateRewritesTheRowOfItsUuid) {
    auto db = open();
    UserInfo anna = user(QStringLiteral("anna"), QStringLiteral("old-pw"));
    ASSERT_TRUE(db->insertUser(anna));
    UserInfo edited = *db->loadByUuid(anna.uuid);
    edited.userName = QStringLiteral("anna2");
    edited.realName = QStringLiteral("Anna B");
    edited.authUserManage = true;
    edited.isRemember = true;
    ASSERT_TRUE(db->updateUser(edited));  // carries the stored hash: password unchanged

    auto loaded = db->loadByUuid(anna.uuid);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->userName, QStringLiteral("anna2"));
    EXPECT_EQ(loaded->realName, QStringLiteral("Anna B"));
    EXPECT_TRUE(loaded->authUserManage);
    EXPECT_TRUE(loaded->isRemember);
    EXPECT_EQ(loaded->passwd, edited.passwd);
    EXPECT_TRUE(db->verifyPassword(*loaded, QStringLiteral("old-pw")));

    edited.passwd = QStringLiteral("new-pw");  // a typed password is hashed
    ASSERT_TRUE(db->updateUser(edited));
    loaded = db->loadByUuid(anna.uuid);
    EXPECT_TRUE(PasswordHash::isEncoded(loaded->passwd));
    EXPECT_TRUE(db->verifyPassword(*loaded, QStringLiteral("new-pw")));
    EXPECT_FALSE(db->verifyPassword(*loaded, QStringLiteral("old-pw")));

    // Another account's name is refused.
    edited.userName = QStringLiteral("tarsk");
    EXPECT_FALSE(db->updateUser(edited));
}

TEST_F(UserInfoDBTest, UpdateOfAnUnknownUuidFailsAndChangesNothing) {
    auto db = open();
    const auto before = rawRows(file(), QStringLiteral("SELECT * FROM Username_Passwd"));
    EXPECT_FALSE(db->updateUser(user(QStringLiteral("ghost"), QStringLiteral("pw"))));
    EXPECT_EQ(rawRows(file(), QStringLiteral("SELECT * FROM Username_Passwd")), before);
}

TEST_F(UserInfoDBTest, ListsAndDeletes) {
    auto db = open();
    UserInfo anna = user(QStringLiteral("anna"), QStringLiteral("a"));
    UserInfo bert = user(QStringLiteral("bert"), QStringLiteral("b"));
    ASSERT_TRUE(db->insertUser(anna));
    ASSERT_TRUE(db->insertUser(bert));
    {
        // In the order of the query, which reads the unique index of the names.
        LogCapture log;
        EXPECT_EQ(db->loadUserNames(), (QStringList{"anna", "bert", "tarsk"}));
        EXPECT_EQ(log.lines(), QStringList{"[Debug] (\"anna\", \"bert\", \"tarsk\")"});
    }
    ASSERT_TRUE(db->deleteUser(anna.uuid));
    EXPECT_FALSE(db->deleteUser(anna.uuid));  // nothing left to delete
    auto all = db->loadAll();
    ASSERT_TRUE(all);
    ASSERT_EQ(all->size(), 2);
    EXPECT_EQ(all->at(1).uuid, bert.uuid);
    EXPECT_FALSE(db->loadByName(QStringLiteral("anna")));
}

TEST_F(UserInfoDBTest, EmptyTableLoadsNull) {
    auto db = open();
    ASSERT_TRUE(db->deleteUser(db->loadByName(QStringLiteral("tarsk"))->uuid));
    EXPECT_FALSE(db->loadAll());
    EXPECT_TRUE(db->loadUserNames().isEmpty());
}

TEST_F(UserInfoDBTest, RememberTokenStandsInForThePasswordUntilRevoked) {
    auto db = open();
    UserInfo anna = user(QStringLiteral("anna"), QStringLiteral("pw"));
    anna.isRemember = true;
    ASSERT_TRUE(db->insertUser(anna));

    const QString token = db->issueRememberToken(anna.uuid);
    ASSERT_FALSE(token.isEmpty());
    EXPECT_FALSE(fileBytes(file()).contains(token.toLatin1()));  // only its hash is stored
    EXPECT_TRUE(db->checkRememberToken(anna.uuid, token));
    EXPECT_FALSE(db->checkRememberToken(anna.uuid, token + QLatin1Char('x')));
    EXPECT_FALSE(db->checkRememberToken(anna.uuid, QString()));
    EXPECT_FALSE(db->checkRememberToken(QUuid::createUuid(), token));

    // A new token replaces the old one.
    const QString second = db->issueRememberToken(anna.uuid);
    EXPECT_FALSE(db->checkRememberToken(anna.uuid, token));
    EXPECT_TRUE(db->checkRememberToken(anna.uuid, second));

    // Leaving the password unchanged keeps the token ...
    UserInfo stored = *db->loadByUuid(anna.uuid);
    stored.realName = QStringLiteral("Anna C");
    ASSERT_TRUE(db->updateUser(stored));
    EXPECT_TRUE(db->checkRememberToken(anna.uuid, second));
    // ... no longer being remembered or a new password ends it.
    stored.isRemember = false;
    ASSERT_TRUE(db->updateUser(stored));
    EXPECT_FALSE(db->checkRememberToken(anna.uuid, second));

    stored.isRemember = true;
    ASSERT_TRUE(db->updateUser(stored));
    const QString third = db->issueRememberToken(anna.uuid);
    EXPECT_TRUE(db->checkRememberToken(anna.uuid, third));
    stored.passwd = QStringLiteral("new password");
    ASSERT_TRUE(db->updateUser(stored));
    EXPECT_FALSE(db->checkRememberToken(anna.uuid, third));

    const QString fourth = db->issueRememberToken(anna.uuid);
    EXPECT_TRUE(db->clearRememberToken(anna.uuid));
    EXPECT_FALSE(db->checkRememberToken(anna.uuid, fourth));
}

TEST_F(UserInfoDBTest, RememberTokenNeedsTheAccountToAskForIt) {
    auto db = open();
    UserInfo anna = user(QStringLiteral("anna"), QStringLiteral("pw"));  // isRemember false
    ASSERT_TRUE(db->insertUser(anna));
    const QString token = db->issueRememberToken(anna.uuid);
    EXPECT_FALSE(db->checkRememberToken(anna.uuid, token));
}

TEST_F(UserInfoDBTest, DeletingTheAccountEndsItsToken) {
    auto db = open();
    UserInfo anna = user(QStringLiteral("anna"), QStringLiteral("pw"));
    anna.isRemember = true;
    ASSERT_TRUE(db->insertUser(anna));
    ASSERT_FALSE(db->issueRememberToken(anna.uuid).isEmpty());
    ASSERT_TRUE(db->deleteUser(anna.uuid));
    EXPECT_TRUE(rawRows(file(), QStringLiteral("SELECT * FROM RememberToken")).isEmpty());
}

}  // namespace
