#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <memory>

#include "database/UserInfo.h"

class StoreConnection;

// The user accounts: table Username_Passwd of <station>/DataBase/UserInfo.db.
//
// A new database starts with the administrator account "tarsk". Passwords
// are stored as salted hashes (PasswordHash). "Remember password" is kept as
// a random token whose hash the store holds in the table RememberToken: the
// login dialog keeps the token, never the password.
class UserInfoDB : public QObject {
    Q_OBJECT
  public:
    // Opens (and on first use creates) the database under `stationDir`;
    // a database that cannot be opened ends the program.
    explicit UserInfoDB(const QString& stationDir, QObject* parent = nullptr);
    ~UserInfoDB() override;

    bool insertUser(const UserInfo& user);
    // Rewrites / removes the row of the uuid; false when the statement fails
    // or no row has that uuid.
    bool updateUser(const UserInfo& user);
    bool deleteUser(const QUuid& uuid);

    // Null when the query fails or no row matches.
    std::unique_ptr<UserInfo> loadByUuid(const QUuid& uuid);
    std::unique_ptr<UserInfo> loadByName(const QString& userName);
    // Every user name in query order; empty when the query fails.
    QStringList loadUserNames();
    // Null when the query fails or the table is empty.
    std::unique_ptr<QList<UserInfo>> loadAll();

    // Checks `password` against the stored password of the row of
    // `user.uuid`. A plain password of an earlier version, or a hash made
    // with fewer iterations, is replaced by a new hash once it matched;
    // `user.passwd` then holds the stored text.
    bool verifyPassword(UserInfo& user, const QString& password);

    // Issues a new remember-password token for the account and stores its
    // hash, replacing any earlier token; empty when that fails.
    QString issueRememberToken(const QUuid& uuid);
    // True when `token` is the account's current token and the account still
    // asks to be remembered.
    bool checkRememberToken(const QUuid& uuid, const QString& token);
    bool clearRememberToken(const QUuid& uuid);

    // Name of the connection of the creating thread ("UserInfo" unless
    // another store holds that name).
    QString connectionName() const;

  private:
    void connectDatabase(const QString& stationDir);
    void initTable();
    bool storePasswordHash(const QUuid& uuid, const QString& hash);

    std::unique_ptr<StoreConnection> m_connection;
};
